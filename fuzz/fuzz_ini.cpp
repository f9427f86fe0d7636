// The INI store over arbitrary text: reads never fail, and a write reads back
// as written while every other key keeps its value.
// Input: text \0 section \0 key \0 value \0 other-section \0 other-key.
#include <cctype>

#include "config/ini_store.h"
#include "fuzz_support.h"

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// A name the writer can always store and find again.
bool PlainName(std::string_view s) {
  if (s.empty() || s.size() > 40) return false;
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '.') return false;
  return true;
}

// A value that comes back as written: printable, no surrounding spaces or quotes.
bool PlainValue(std::string_view s) {
  if (s.size() > tw::config::kIniMaxValue) return false;
  for (char c : s)
    if (c < 0x20 || c == 0x7f) return false;
  if (!s.empty() && (s.front() == ' ' || s.back() == ' ' || s.front() == '"' || s.front() == '\'')) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw::config;
  const auto parts = tw::fuzz::Split(tw::fuzz::AsText(data, size), std::string_view("\0", 1), 6);
  const std::string_view text = parts[0];
  const std::string_view section = parts.size() > 1 ? parts[1] : "main";
  const std::string_view key = parts.size() > 2 ? parts[2] : "Sound_On";
  const std::string_view value = parts.size() > 3 ? parts[3] : "True";
  const std::string_view section2 = parts.size() > 4 ? parts[4] : section;
  const std::string_view key2 = parts.size() > 5 ? parts[5] : "Details_High";

  const std::string read = ReadIniText(text, section, key);
  TW_FUZZ_CHECK(read.size() <= kIniMaxValue);
  const auto other_before = LookupIniText(text, section2, key2);

  const std::string written = WriteIniText(text, section, key, value);
  if (PlainName(section) && PlainName(key) && PlainValue(value)) {
    const auto back = LookupIniText(written, section, key);
    TW_FUZZ_CHECK(back.has_value());
    TW_FUZZ_CHECK(*back == value);
    if (!(EqualNoCase(section, section2) && EqualNoCase(key, key2)) && PlainName(section2) && PlainName(key2)) {
      TW_FUZZ_CHECK(LookupIniText(written, section2, key2) == other_before);
    }
    // Writing the same value again changes nothing.
    TW_FUZZ_CHECK(WriteIniText(written, section, key, value) == written);
  }
  return 0;
}
