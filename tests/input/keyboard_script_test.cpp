#include <gtest/gtest.h>

#include "input/keyboard.h"

namespace tw::input {
namespace {

TEST(KeyScript, ParsesFramesKeysAndComments) {
  std::string error;
  auto events = ParseKeyScript(
      "# start a game\n"
      "10 Return down\n"
      "12 return up   # released two frames later\n"
      "\n"
      "5 Left DOWN\n"
      "40 space down\n"
      "41 A up\n"
      "42 7 down\n",
      error);
  ASSERT_TRUE(events) << error;
  ASSERT_EQ(events->size(), 6u);
  // Sorted by frame, keeping the file's order within a frame.
  EXPECT_EQ((*events)[0].frame, 5);
  EXPECT_EQ((*events)[0].code, core::key::Left);
  EXPECT_TRUE((*events)[0].down);
  EXPECT_EQ((*events)[1].code, core::key::Return);
  EXPECT_FALSE((*events)[2].down);
  EXPECT_EQ((*events)[3].code, core::key::Space);
  EXPECT_EQ((*events)[4].code, core::key::A);
  EXPECT_EQ((*events)[5].code, 8);  // the 7 key
}

TEST(KeyScript, RejectsMalformedLinesNamingTheLine) {
  std::string error;
  EXPECT_FALSE(ParseKeyScript("1 Return down\n2 Return sideways\n", error));
  EXPECT_NE(error.find("line 2"), std::string::npos);
  EXPECT_FALSE(ParseKeyScript("x Return down\n", error));
  EXPECT_FALSE(ParseKeyScript("-3 Return down\n", error));
  EXPECT_FALSE(ParseKeyScript("3 F13 down\n", error));
  EXPECT_FALSE(ParseKeyScript("3 Return\n", error));
  EXPECT_FALSE(ParseKeyScript("3 Return down extra\n", error));
}

TEST(KeyScript, KeyNamesMapToTheClassicCodes) {
  EXPECT_EQ(KeyCodeFromName("Escape"), core::key::Escape);
  EXPECT_EQ(KeyCodeFromName("Backspace"), core::key::Backspace);
  EXPECT_EQ(KeyCodeFromName("Tab"), core::key::Tab);
  EXPECT_EQ(KeyCodeFromName("Up"), core::key::Up);
  EXPECT_EQ(KeyCodeFromName("Down"), core::key::Down);
  EXPECT_EQ(KeyCodeFromName("Right"), core::key::Right);
  EXPECT_EQ(KeyCodeFromName("0"), core::key::D0);
  EXPECT_EQ(KeyCodeFromName("1"), core::key::D1);
  EXPECT_EQ(KeyCodeFromName("z"), core::key::Z);
  EXPECT_EQ(KeyCodeFromName("P"), core::key::P);
  EXPECT_EQ(KeyCodeFromName("q"), core::key::Q);
  EXPECT_EQ(KeyCodeFromName("Shift"), std::nullopt);
}

TEST(KeyScript, AppliesEventsAtTheStartOfTheirFrame) {
  std::string error;
  UseKeyScript(*ParseKeyScript("2 Up down\n4 Up up\n4 P down\n", error));
  core::KeyState.fill(0);
  ApplyKeyScript(0);
  ApplyKeyScript(1);
  EXPECT_FALSE(core::IsDown(core::key::Up));
  ApplyKeyScript(2);
  EXPECT_TRUE(core::IsDown(core::key::Up));
  // A device read returns the script's table, so screens that read the
  // keyboard again see the same keys.
  core::KeyState.fill(0);
  EXPECT_TRUE(ReadKeyboard());
  EXPECT_TRUE(core::IsDown(core::key::Up));
  ApplyKeyScript(3);
  ApplyKeyScript(4);
  EXPECT_FALSE(core::IsDown(core::key::Up));
  EXPECT_TRUE(core::IsDown(core::key::P));
  EXPECT_EQ(core::KeyState[core::key::P], core::kKeyDown);
}

TEST(KeyScript, SkippedFramesStillDeliverTheirEvents) {
  std::string error;
  UseKeyScript(*ParseKeyScript("3 Left down\n5 Right down\n", error));
  core::KeyState.fill(0);
  ApplyKeyScript(10);
  EXPECT_TRUE(core::IsDown(core::key::Left));
  EXPECT_TRUE(core::IsDown(core::key::Right));
}

}  // namespace
}  // namespace tw::input
