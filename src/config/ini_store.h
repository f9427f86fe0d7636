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

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <cstdint>
#include <vector>

namespace tw::config {

inline constexpr std::size_t kIniMaxValue = 254;

// The value of key in section of file; "" when the file, section or key is
// missing. Never creates anything.
std::string ReadIni(std::string_view section, std::string_view key, std::string_view file);

// Sets key in section of file to value, through SaveText (`what` names the
// file's contents in its messages): a failure is told and the text kept; the
// return value says whether the file holds the value afterwards. A write that
// would leave the text as it is touches nothing.
bool WriteIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file, std::string_view what = "the data");

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

// Every key of INI text, parsed once, for readers that look up thousands of
// keys (a replay). Lookups give exactly what ReadIniText gives for the same
// text, section and key, without copying.
struct IniKeys {
  // The keys in file order (the first of each name only) ...
  std::vector<std::pair<std::string_view, std::string_view>> entries;
  // ... and an open-addressing table over them: the name's hash in the high
  // half, entry index + 1 in the low half; 0 when free.
  std::vector<std::uint64_t> table;
};
struct IniIndex {
  std::shared_ptr<const std::string> text;  // the names and values point into it
  // The first section of each name, in file order (later ones are never read).
  std::vector<std::pair<std::string_view, IniKeys>> sections;
};
IniIndex IndexIniText(std::string text);
std::optional<std::string_view> LookupIniIndex(const IniIndex& index, std::string_view section,
                                               std::string_view key);
// The keys of a section; nullptr when there is none.
const IniKeys* IniIndexSection(const IniIndex& index, std::string_view section);

}  // namespace tw::config
