// Typing a name for the high-score table.
#pragma once

#include <string>

namespace tw::input {

// The longest name the table takes.
inline constexpr std::size_t kMaxNameLength = 20;

// What the keys of one game-over frame ask of the name being typed.
struct NameKeys {
  bool confirm = false;  // Return or Escape, before the screen fades
  std::string typed;     // digits, letters and spaces once per press, in scan order; '-' erases
};

// One game-over frame of name entry, from the keys read at the end of the
// frame before; the front end applies what it returns.
NameKeys ScanNameKeys();

}  // namespace tw::input
