#include "config/ini_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "test_support.h"

namespace tw::config {
namespace {

TEST(IniRead, LookupRules) {
  struct Case {
    const char *why, *text, *section, *key, *want;
  };
  // Sized by the literal itself (12 bytes, NULs included), never by hand.
  constexpr char kBinary[] = "BM\x36\x00\x00\x00\0\0[s\x01\xff";
  const std::string bom_binary(kBinary, sizeof kBinary - 1);
  const Case cases[] = {
      {"names ignore case, spaces trimmed", "[Player]\r\n  WalkSpeed  =  150 \r\n", "player", "walkspeed", "150"},
      {"padded names", "[Player]\r\nweight=4\r\n", " PLAYER ", " Weight ", "4"},
      {"first key wins", "[a]\nk=1\nk=2\n[b]\nk=3\n", "a", "k", "1"},
      {"other section", "[a]\nk=1\n[b]\nk=3\n", "b", "k", "3"},
      {"a repeated section is never consulted", "[a]\nk=1\n[A]\nonly_second=5\n", "a", "only_second", ""},
      {"CRLF", "[s]\r\nx=1\r\ny=2\r\n", "s", "y", "2"},
      {"LF", "[s]\nx=1\ny=2\n", "s", "y", "2"},
      {"CR", "[s]\rx=1\ry=2\r", "s", "y", "2"},
      {"CR, no last ending", "[s]\rx=1\ry=2", "s", "y", "2"},
      {"double quotes", "[s]\na=\"hello world\"\n", "s", "a", "hello world"},
      {"single quotes", "[s]\nb='x'\n", "s", "b", "x"},
      {"unbalanced quote kept", "[s]\nc=\"unbalanced\n", "s", "c", "\"unbalanced"},
      {"mixed quotes kept", "[s]\nd=\"mixed'\n", "s", "d", "\"mixed'"},
      {"empty quotes", "[s]\ne=\"\"\n", "s", "e", ""},
      {"line without =", "[s]\nnokey\n", "s", "nokey", ""},
      {"comment", "[s]\n; k=commented\nk=real\n", "s", "k", "real"},
      {"only the first = splits", "[s]\nv=a=b\n", "s", "v", "a=b"},
      {"missing key", "[s]\nempty=\n", "s", "missing", ""},
      {"missing section", "[s]\nempty=\n", "nosection", "empty", ""},
      {"words", "just some words\nwithout any structure", "s", "k", ""},
      {"keys before any section", "k=1\n[s]\n", "s", "k", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadIniText(c.text, c.section, c.key), c.want) << c.why;
    // The index built for thousands of lookups answers the same.
    EXPECT_EQ(LookupIniIndex(IndexIniText(c.text), c.section, c.key).value_or(""), c.want) << c.why;
  }
  std::string many = "[Map]\n";
  for (int i = 0; i < 500; ++i) many += "Y" + std::to_string(i) + "_X1=" + std::to_string(i % 7) + "\n";
  const IniIndex map = IndexIniText(many);
  for (const auto& [key, want] : {std::pair{"y499_x1", "2"}, {"Y0_X1", "0"}, {"Y500_X1", ""}, {"Y01_X1", ""}}) {
    EXPECT_EQ(LookupIniIndex(map, "map", key).value_or(""), want) << key;
  }
  EXPECT_FALSE(LookupIniIndex(IndexIniText(bom_binary), "s", "k").has_value());
  EXPECT_EQ(ReadIniText(bom_binary, "s", "k"), "");
  EXPECT_EQ(LookupIniText("[s]\nempty=\n", "s", "empty"), std::optional<std::string>(""));
  EXPECT_EQ(LookupIniText("[s]\nempty=\n", "s", "missing"), std::nullopt);
  // Values are cut at 254 characters.
  EXPECT_EQ(ReadIniText("[s]\nk=" + std::string(300, 'x') + "\n", "s", "k"), std::string(254, 'x'));
  EXPECT_EQ(LookupIniIndex(IndexIniText("[s]\nk=" + std::string(300, 'x')), "s", "k"), std::string(254, 'x'));
}

TEST(IniWrite, InPlaceNewKeysAndSections) {
  struct Case {
    const char *text, *section, *key, *value, *want;
  };
  const Case cases[] = {
      // Replaced in place (the name as written now), everything else kept.
      {"; my comment\r\nloose=1\r\n[main]\r\nSound_On=True\r\nunknown=keep\r\n\r\n[other]\r\nx=1\r\n", "MAIN",
       "sound_on", "False",
       "; my comment\r\nloose=1\r\n[main]\r\nsound_on=False\r\nunknown=keep\r\n\r\n[other]\r\nx=1\r\n"},
      // A new key goes after the section's last line.
      {"[a]\nx=1\n\n[b]\ny=2\n", "a", "z", "3", "[a]\nx=1\nz=3\r\n\n[b]\ny=2\n"},
      {"[a]\nx=1\n\n[b]\ny=2\n", "b", "z", "3", "[a]\nx=1\n\n[b]\ny=2\nz=3\r\n"},
      // A new section is appended; a missing last line ending is repaired.
      {"", "hs", "0s", "2500", "[hs]\r\n0s=2500\r\n"},
      {"[a]\nx=1", "b", "k", "v", "[a]\nx=1\r\n[b]\r\nk=v\r\n"},
      {"[a]\nx=1", "a", "k", "v", "[a]\nx=1\r\nk=v\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(WriteIniText(c.text, c.section, c.key, c.value), c.want) << c.text;
  std::string text;
  for (const auto& [section, key, value] : {std::tuple{"s", "a", "1"}, {"s", "b", "two words"}, {"t", "a", "3"}, {"s", "a", "4"}})
    text = WriteIniText(text, section, key, value);
  EXPECT_EQ(text, "[s]\r\na=4\r\nb=two words\r\n[t]\r\na=3\r\n");
  EXPECT_EQ(ReadIniText(text, "s", "a"), "4");
}

TEST(IniFile, MissingFileReadsEmptyAndChangesByAnotherWriterAreSeen) {
  test::TempDir dir;
  const std::string file = dir.File("x.ini");
  EXPECT_EQ(ReadIni("s", "k", file), "");
  EXPECT_FALSE(std::filesystem::exists(file));  // not created by a read
  test::WriteText(file, "[s]\nk=1\n");
  EXPECT_EQ(ReadIni("s", "k", file), "1");
  test::WriteText(file, "[s]\nk=22\n");
  EXPECT_EQ(ReadIni("s", "k", file), "22");
}

}  // namespace
}  // namespace tw::config
