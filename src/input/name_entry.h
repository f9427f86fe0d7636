// Typing a name for the high-score table.
#pragma once

#include <string_view>

namespace tw::input {

// The longest name the table takes.
inline constexpr std::size_t kMaxNameLength = 20;

// One game-over frame of name entry, from the keys read at the end of the
// frame before: confirms the name with Return or Escape, and types the
// digits, letters, Space and Backspace once per press.
void ScanNameKeys();
// Edits the typed name: "-" erases the last character, anything else is
// appended while the name is shorter than 20 characters. Each change plays
// the "key" sound.
void AppendTypedChar(std::string_view c);

}  // namespace tw::input
