#include "config/ini_store.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "config/saves.h"
#include "platform/files.h"

namespace tw::config {

namespace {

struct Line {
  std::string_view body;  // without its line ending
  std::size_t begin = 0;  // offset of the line in the text
  std::size_t end = 0;    // offset just past its line ending
};

// Splits on CRLF, LF or a lone CR.
std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t i = pos;
    while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    Line line;
    line.begin = pos;
    line.body = text.substr(pos, i - pos);
    if (i < text.size()) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        i += 2;
      } else {
        i += 1;
      }
    }
    line.end = i;
    lines.push_back(line);
    pos = i;
  }
  return lines;
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// "[name]" (leading spaces allowed): the section name, trimmed.
bool SectionName(std::string_view body, std::string_view& name) {
  std::string_view t = Trim(body);
  if (t.empty() || t.front() != '[') return false;
  std::size_t close = t.find(']');
  name = Trim(close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1));
  return true;
}

bool IsComment(std::string_view body) {
  std::string_view t = Trim(body);
  return !t.empty() && (t.front() == ';' || t.front() == '#');
}

// "key = value": the trimmed key and value; false for lines without "=".
bool KeyValue(std::string_view body, std::string_view& key, std::string_view& value) {
  if (IsComment(body)) return false;
  std::size_t eq = body.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(body.substr(0, eq));
  value = Trim(body.substr(eq + 1));
  return true;
}

// Index range [first, last) of the lines of the first section named `section`
// (the header line excluded), or false when there is none.
bool FindSection(const std::vector<Line>& lines, std::string_view section, std::size_t& header,
                 std::size_t& first, std::size_t& last) {
  const std::string_view wanted = Trim(section);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name;
    if (SectionName(lines[i].body, name) && EqualsNoCase(name, wanted)) {
      header = i;
      first = i + 1;
      last = first;
      while (last < lines.size()) {
        std::string_view other;
        if (SectionName(lines[last].body, other)) break;
        ++last;
      }
      return true;
    }
  }
  return false;
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A value as the readers return it: without matching quotes, cut at the limit.
std::string_view StoredValue(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  if (v.size() > kIniMaxValue) v = v.substr(0, kIniMaxValue);
  return v;
}

}  // namespace

namespace {

std::uint64_t NameHash(std::string_view name) {
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a over the folded name
  for (char c : name) {
    h ^= static_cast<unsigned char>(Fold(c));
    h *= 1099511628211ull;
  }
  // Names like "Y12_X3" differ in few bits; mix them into the low bits the
  // table uses.
  h ^= h >> 32;
  h *= 0xBF58476D1CE4E5B9ull;
  return h ^ (h >> 29);
}

// The position in the table of `key`'s slot, or of the free slot where it
// would go. Names are compared only where the hashes agree.
std::size_t SlotOf(const IniKeys& keys, std::string_view key, std::uint64_t hash) {
  const std::size_t mask = keys.table.size() - 1;
  const std::uint64_t tag = hash >> 32;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const std::uint64_t slot = keys.table[i];
    if (slot == 0) return i;
    if ((slot >> 32) == tag && EqualsNoCase(keys.entries[(slot & 0xFFFFFFFFu) - 1].first, key)) return i;
  }
}

void AddKey(IniKeys& keys, std::string_view key, std::string_view value) {
  if (keys.table.size() < 2 * (keys.entries.size() + 1)) {
    // Grow to keep the table at most half full, and place every entry again.
    keys.table.assign(std::max<std::size_t>(16, keys.table.size() * 2), 0);
    for (std::size_t i = 0; i < keys.entries.size(); ++i) {
      const std::uint64_t hash = NameHash(keys.entries[i].first);
      keys.table[SlotOf(keys, keys.entries[i].first, hash)] = (hash >> 32 << 32) | (i + 1);
    }
  }
  const std::uint64_t hash = NameHash(key);
  std::uint64_t& slot = keys.table[SlotOf(keys, key, hash)];
  if (slot != 0) return;  // the first key of a name wins
  keys.entries.emplace_back(key, value);
  slot = (hash >> 32 << 32) | keys.entries.size();
}

}  // namespace

IniIndex IndexIniText(std::string text) {
  IniIndex index;
  index.text = std::make_shared<const std::string>(std::move(text));
  IniKeys* keys = nullptr;  // null before the first header and in repeated sections
  for (const Line& line : SplitLines(*index.text)) {
    std::string_view name;
    if (SectionName(line.body, name)) {
      keys = nullptr;
      // Only the first section of a name is ever found by a lookup.
      if (IniIndexSection(index, name) == nullptr) keys = &index.sections.emplace_back(name, IniKeys{}).second;
      continue;
    }
    std::string_view k, v;
    if (keys != nullptr && KeyValue(line.body, k, v)) AddKey(*keys, k, StoredValue(v));
  }
  return index;
}

const IniKeys* IniIndexSection(const IniIndex& index, std::string_view section) {
  const std::string_view wanted = Trim(section);
  for (const auto& [name, keys] : index.sections) {
    if (EqualsNoCase(name, wanted)) return &keys;
  }
  return nullptr;
}

std::optional<std::string_view> LookupIniIndex(const IniIndex& index, std::string_view section,
                                               std::string_view key) {
  const IniKeys* keys = IniIndexSection(index, section);
  if (keys == nullptr || keys->table.empty()) return std::nullopt;
  const std::string_view name = Trim(key);
  const std::uint64_t slot = keys->table[SlotOf(*keys, name, NameHash(name))];
  if (slot == 0) return std::nullopt;
  return keys->entries[(slot & 0xFFFFFFFFu) - 1].second;
}

std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key) {
  return LookupIniText(text, section, key).value_or(std::string());
}

std::optional<std::string> LookupIniText(std::string_view text, std::string_view section,
                                         std::string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  std::size_t header = 0, first = 0, last = 0;
  if (!FindSection(lines, section, header, first, last)) return std::nullopt;
  const std::string_view wanted = Trim(key);
  for (std::size_t i = first; i < last; ++i) {
    std::string_view k, v;
    if (!KeyValue(lines[i].body, k, v) || !EqualsNoCase(k, wanted)) continue;
    return std::string(StoredValue(v));
  }
  return std::nullopt;
}

std::string WriteIniText(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
  const std::vector<Line> lines = SplitLines(text);
  const std::string new_line = std::string(Trim(key)) + "=" + std::string(value) + "\r\n";
  std::size_t header = 0, first = 0, last = 0;
  if (!FindSection(lines, section, header, first, last)) {
    std::string out(text);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
    out += "[" + std::string(Trim(section)) + "]\r\n" + new_line;
    return out;
  }
  const std::string_view wanted = Trim(key);
  for (std::size_t i = first; i < last; ++i) {
    std::string_view k, v;
    if (!KeyValue(lines[i].body, k, v) || !EqualsNoCase(k, wanted)) continue;
    // Replace the line in place, keeping the line ending it had.
    const std::size_t body_end = lines[i].begin + lines[i].body.size();
    std::string ending(text.substr(body_end, lines[i].end - body_end));
    if (ending.empty()) ending = "\r\n";
    std::string out(text.substr(0, lines[i].begin));
    out += std::string(Trim(key)) + "=" + std::string(value) + ending;
    out += text.substr(lines[i].end);
    return out;
  }
  // New key: after the section's last non-blank line.
  std::size_t insert_after = header;
  for (std::size_t i = first; i < last; ++i) {
    if (!Trim(lines[i].body).empty()) insert_after = i;
  }
  const Line& anchor = lines[insert_after];
  std::string out(text.substr(0, anchor.end));
  if (anchor.end == anchor.begin + anchor.body.size()) out += "\r\n";  // last line had no ending
  out += new_line;
  out += text.substr(anchor.end);
  return out;
}

std::string ReadIni(std::string_view section, std::string_view key, std::string_view file) {
  return ReadIni(ReadIniFile(file), section, key);
}

IniFileText ReadIniFile(std::string_view file) {
  return IniFileText{platform::ReadFile(platform::ResolvePath(file)).value_or(std::string())};
}

std::string ReadIni(const IniFileText& ini, std::string_view section, std::string_view key) {
  return ReadIniText(ini.text, section, key);
}

bool WriteIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view file, std::string_view what) {
  const std::string path = platform::ResolvePath(file);
  // A file that is there but cannot be read is not written over (LoadText
  // says so and SaveText leaves it).
  const std::optional<std::string> old_text = LoadText(path, what);
  const std::string text = WriteIniText(old_text.value_or(std::string()), section, key, value);
  // Every write is a synced file replacement: skip it when nothing changes.
  if (old_text && *old_text == text) return true;
  return SaveText(path, text, what);
}

}  // namespace tw::config
