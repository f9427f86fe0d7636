// INI text files: the game's one format for tuning, options, high scores,
// font metrics and replays.
//
// The observable rules are those of the classic private-profile functions:
// section and key names match without regard to case; the first matching
// section and the first matching key win; spaces around names and values are
// trimmed; a value wrapped in matching quotes comes back without them; lines
// without "=" are not keys; CRLF, LF and CR-only files all read; at most 254
// characters are returned. Writing creates the file, the section or the key
// as needed, replaces an existing key's line in place and leaves every other
// line as it was. Every write replaces the file atomically.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw::config {

inline constexpr std::size_t kIniMaxValue = 254;

// The value of key in section of file; "" when the file, section or key is
// missing. Never creates anything.
std::string ReadIni(std::string_view section, std::string_view key, std::string_view file);

// Sets key in section of file to value. Failures are silent, as for the
// original functions; the return value says whether the file holds the value
// afterwards. A write that would leave the text as it is touches nothing.
bool WriteIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file);

// One file read once, for loads that look up many keys: ReadIni over it
// answers exactly as ReadIni over the file would at the moment it was read.
// A snapshot lives for one load; the next load reads the file again, so
// edits made by another program in between are seen.
struct IniFileText {
  std::string text;  // empty when the file is missing or unreadable
};
IniFileText ReadIniFile(std::string_view file);
std::string ReadIni(const IniFileText& ini, std::string_view section, std::string_view key);

// The same two operations over INI text in memory (used by the file forms and
// by tests).
std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key);
// As ReadIniText, but tells a missing key (nullopt) from an empty value.
std::optional<std::string> LookupIniText(std::string_view text, std::string_view section,
                                         std::string_view key);
std::string WriteIniText(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace tw::config
