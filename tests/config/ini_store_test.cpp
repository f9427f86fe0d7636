#include "config/ini_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace tw::config {
namespace {

TEST(IniRead, NamesMatchWithoutCaseAndSpacesAreTrimmed) {
  const std::string text = "[Player]\r\n  WalkSpeed  =  150 \r\nweight=4\r\n";
  EXPECT_EQ(ReadIniText(text, "player", "walkspeed"), "150");
  EXPECT_EQ(ReadIniText(text, "PLAYER", "Weight"), "4");
  EXPECT_EQ(ReadIniText(text, " Player ", " Weight "), "4");
}

TEST(IniRead, FirstSectionAndFirstKeyWin) {
  const std::string text =
      "[a]\nk=1\nk=2\n[b]\nk=3\n[A]\nk=4\nonly_second=5\n";
  EXPECT_EQ(ReadIniText(text, "a", "k"), "1");
  EXPECT_EQ(ReadIniText(text, "b", "k"), "3");
  // The second [A] section is never consulted.
  EXPECT_EQ(ReadIniText(text, "a", "only_second"), "");
}

TEST(IniRead, AllLineEndingsRead) {
  EXPECT_EQ(ReadIniText("[s]\r\nx=1\r\ny=2\r\n", "s", "y"), "2");
  EXPECT_EQ(ReadIniText("[s]\nx=1\ny=2\n", "s", "y"), "2");
  EXPECT_EQ(ReadIniText("[s]\rx=1\ry=2\r", "s", "y"), "2");
  EXPECT_EQ(ReadIniText("[s]\rx=1\ry=2", "s", "y"), "2");
}

TEST(IniRead, QuotedValuesLoseMatchingQuotesOnly) {
  const std::string text = "[s]\na=\"hello world\"\nb='x'\nc=\"unbalanced\nd=\"mixed'\ne=\"\"\n";
  EXPECT_EQ(ReadIniText(text, "s", "a"), "hello world");
  EXPECT_EQ(ReadIniText(text, "s", "b"), "x");
  EXPECT_EQ(ReadIniText(text, "s", "c"), "\"unbalanced");
  EXPECT_EQ(ReadIniText(text, "s", "d"), "\"mixed'");
  EXPECT_EQ(ReadIniText(text, "s", "e"), "");
}

TEST(IniRead, LinesWithoutEqualsAndCommentsAreNotKeys) {
  const std::string text = "[s]\nnokey\n; k=commented\nk=real\nv=a=b\n";
  EXPECT_EQ(ReadIniText(text, "s", "nokey"), "");
  EXPECT_EQ(ReadIniText(text, "s", "k"), "real");
  EXPECT_EQ(ReadIniText(text, "s", "v"), "a=b");  // only the first "=" splits
}

TEST(IniRead, EmptyAndMissingBothReadEmpty) {
  const std::string text = "[s]\nempty=\n";
  EXPECT_EQ(ReadIniText(text, "s", "empty"), "");
  EXPECT_EQ(ReadIniText(text, "s", "missing"), "");
  EXPECT_EQ(ReadIniText(text, "nosection", "empty"), "");
  EXPECT_EQ(LookupIniText(text, "s", "empty"), std::optional<std::string>(""));
  EXPECT_EQ(LookupIniText(text, "s", "missing"), std::nullopt);
}

TEST(IniRead, ValuesAreCutAt254Characters) {
  const std::string long_value(300, 'x');
  const std::string text = "[s]\nk=" + long_value + "\n";
  EXPECT_EQ(ReadIniText(text, "s", "k"), std::string(254, 'x'));
  EXPECT_EQ(ReadIniText("[s]\nk=" + std::string(254, 'y') + "\n", "s", "k").size(), 254u);
}

TEST(IniRead, TextThatIsNotIniReadsNothing) {
  // Sized by the literal itself (12 bytes, NULs included), never by hand.
  constexpr char kBytes[] = "BM\x36\x00\x00\x00\0\0[s\x01\xff";
  const std::string binary(kBytes, sizeof kBytes - 1);
  EXPECT_EQ(ReadIniText(binary, "s", "k"), "");
  EXPECT_EQ(ReadIniText("just some words\nwithout any structure", "s", "k"), "");
  // Keys before the first section belong to no section.
  EXPECT_EQ(ReadIniText("k=1\n[s]\n", "s", "k"), "");
}

TEST(IniWrite, ReplacesInPlaceAndKeepsEverythingElse) {
  const std::string text =
      "; my comment\r\nloose=1\r\n[main]\r\nSound_On=True\r\nunknown=keep\r\n\r\n[other]\r\nx=1\r\n";
  const std::string out = WriteIniText(text, "MAIN", "sound_on", "False");
  EXPECT_EQ(out,
            "; my comment\r\nloose=1\r\n[main]\r\nsound_on=False\r\nunknown=keep\r\n\r\n[other]\r\nx=1\r\n");
}

TEST(IniWrite, NewKeyGoesAfterTheSectionsLastLine) {
  const std::string text = "[a]\nx=1\n\n[b]\ny=2\n";
  EXPECT_EQ(WriteIniText(text, "a", "z", "3"), "[a]\nx=1\nz=3\r\n\n[b]\ny=2\n");
  EXPECT_EQ(WriteIniText(text, "b", "z", "3"), "[a]\nx=1\n\n[b]\ny=2\nz=3\r\n");
}

TEST(IniWrite, NewSectionIsAppendedAndFileEndingsRepaired) {
  EXPECT_EQ(WriteIniText("", "hs", "0s", "2500"), "[hs]\r\n0s=2500\r\n");
  EXPECT_EQ(WriteIniText("[a]\nx=1", "b", "k", "v"), "[a]\nx=1\r\n[b]\r\nk=v\r\n");
  EXPECT_EQ(WriteIniText("[a]\nx=1", "a", "k", "v"), "[a]\nx=1\r\nk=v\r\n");
}

TEST(IniWrite, WrittenValuesReadBack) {
  std::string text;
  text = WriteIniText(text, "s", "a", "1");
  text = WriteIniText(text, "s", "b", "two words");
  text = WriteIniText(text, "t", "a", "3");
  text = WriteIniText(text, "s", "a", "4");
  EXPECT_EQ(ReadIniText(text, "s", "a"), "4");
  EXPECT_EQ(ReadIniText(text, "s", "b"), "two words");
  EXPECT_EQ(ReadIniText(text, "t", "a"), "3");
  EXPECT_EQ(text, "[s]\r\na=4\r\nb=two words\r\n[t]\r\na=3\r\n");
}

TEST(IniFile, MissingFileReadsEmptyAndIsNotCreated) {
  test::TempDir dir;
  const std::string file = dir.File("none.ini");
  EXPECT_EQ(ReadIni("s", "k", file), "");
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(IniFile, WriteCreatesFileAndFoldersAtomically) {
  test::TempDir dir;
  const std::string file = dir.File("sub/folder/opts.ini");
  EXPECT_TRUE(WriteIni("main", "Details_High", "True", file));
  EXPECT_EQ(test::ReadText(file), "[main]\r\nDetails_High=True\r\n");
  EXPECT_TRUE(WriteIni("main", "Sound_On", "False", file));
  EXPECT_EQ(ReadIni("MAIN", "sound_on", file), "False");
  // No temporary file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.File("sub/folder"))) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(IniFile, ChangesByAnotherWriterAreSeen) {
  test::TempDir dir;
  const std::string file = dir.File("x.ini");
  test::WriteText(file, "[s]\nk=1\n");
  EXPECT_EQ(ReadIni("s", "k", file), "1");
  test::WriteText(file, "[s]\nk=22\n");
  EXPECT_EQ(ReadIni("s", "k", file), "22");
}

TEST(IniFile, WriteToAnUnwritablePlaceFailsQuietly) {
  test::TempDir dir;
  test::WriteText(dir.File("blocker"), "a file, not a folder");
  EXPECT_FALSE(WriteIni("s", "k", "v", dir.File("blocker/inside.ini")));
  EXPECT_EQ(test::ReadText(dir.File("blocker")), "a file, not a folder");
}

TEST(IniFile, FileNamesResolveWithoutRegardToCase) {
  test::TempDir dir;
  test::WriteText(dir.File("Textures/Options.BMP"), "[main]\nSound_On=True\n");
  EXPECT_EQ(ReadIni("main", "Sound_On", dir.path + "\\textures\\options.bmp"), "True");
  WriteIni("main", "Sound_On", "False", dir.path + "/TEXTURES/options.bmp");
  EXPECT_EQ(test::ReadText(dir.File("Textures/Options.BMP")), "[main]\nSound_On=False\n");
}

}  // namespace
}  // namespace tw::config
