// Text from outside (arguments, lines of a file) made safe to show in a
// one-line message.
#pragma once

#include <string>
#include <string_view>

namespace tw::core {

// `text` with control bytes, DEL and bytes that are not well-formed UTF-8
// written as \xNN (and a backslash as \\), so that a message shows what was
// wrong without letting those bytes act on the terminal.
std::string Printable(std::string_view text);

}  // namespace tw::core
