// Number conversions shared by every subsystem.
//
// The game's arithmetic is defined in 16-bit and 32-bit integers, 32-bit
// floats (Single) and 64-bit floats (Double). Conversions from floating point
// to integers round half to even unless a caller asks for floor or
// truncation; text conversions follow the classic rules (leading and trailing
// spaces allowed, "." as the decimal point) and report failure instead of
// throwing, so readers can keep a field unchanged when a value is malformed.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

using Single = float;
using Double = double;
using Integer = std::int16_t;
using Long = std::int32_t;

namespace num {

// Round half to even, as a double (no range check).
inline double RoundHalfEven(double v) { return std::nearbyint(v); }

// Round half to even into a 32-bit integer, saturating at the range limits so
// that a stray infinity or NaN can never produce undefined behaviour.
std::int32_t CLng(double v);
// Round half to even into a 16-bit integer, saturating.
std::int16_t CInt(double v);
// Checked forms: nullopt when the value is out of range or not a number.
std::optional<std::int32_t> CLngChecked(double v);
std::optional<std::int16_t> CIntChecked(double v);

// Floor and truncation towards zero into 32-bit integers, saturating.
std::int32_t FloorToLong(double v);
std::int32_t Fix(double v);

// Pixel to grid cell: round half to even, then divide by 32 truncating.
inline std::int32_t PixelToCell(double px) { return CLng(px) / 32; }

// Without leading and trailing spaces and tabs, as the INI files read values.
std::string_view Trim(std::string_view s);

// Text to number. Accepts optional surrounding spaces, a sign, digits with an
// optional fraction and exponent, and "&H" hexadecimal. Empty or malformed
// text gives nullopt.
std::optional<double> ParseNumber(std::string_view text);
// Text to Boolean: "True"/"False" in any letter case, or a number (0 is
// False, anything else True). Anything else gives nullopt.
std::optional<bool> ParseBool(std::string_view text);
// Boolean to text as the files store it.
inline const char* BoolText(bool b) { return b ? "True" : "False"; }

// Single to text with the shortest form that reads back to the same value
// (integers without a decimal point), as the files and reports show numbers.
std::string FormatNumber(double v);

// The shortest text that reads back to exactly v, laid out as the plain
// std::to_chars(first, last, v) lays it out (fixed or scientific, whichever is
// shorter, fixed on a tie; "inf", "-nan" and so on for the rest). Written by one
// library in every build, since not every C++ library we build with has the
// floating-point to_chars. Returns the end of the text, or nullptr when it does
// not fit (40 characters always do).
char* ShortestChars(char* first, char* last, double v);
char* ShortestChars(char* first, char* last, float v);
// The same as a string.
std::string ShortestText(double v);
std::string ShortestText(float v);

// Decimal text (digits, optional fraction and exponent, optional leading '-')
// to the nearest double, as std::from_chars reads it: the whole text or
// nothing, and nullopt for a value out of the double's range (including one
// that would round to zero from non-zero digits). No "inf" or "nan".
std::optional<double> ParseExactDouble(std::string_view text);

}  // namespace num
}  // namespace tw
