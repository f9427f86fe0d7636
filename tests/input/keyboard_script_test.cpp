#include <gtest/gtest.h>

#include <tuple>

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
  EXPECT_EQ(std::tuple((*events)[0].down, (*events)[1].code, (*events)[2].down, (*events)[3].code, (*events)[4].code),
            std::tuple(true, core::key::Return, false, core::key::Space, core::key::A));
  EXPECT_EQ((*events)[5].code, 8);  // the 7 key
}

TEST(KeyScript, RejectsMalformedLinesNamingTheLine) {
  std::string error;
  EXPECT_FALSE(ParseKeyScript("1 Return down\n2 Return sideways\n", error));
  EXPECT_NE(error.find("line 2"), std::string::npos);
  for (const char* bad : {"x Return down\n", "-3 Return down\n", "3 F13 down\n", "3 Return\n", "3 Return down extra\n"})
    EXPECT_FALSE(ParseKeyScript(bad, error)) << bad;
}

TEST(KeyScript, SkippedFramesStillDeliverTheirEvents) {
  std::string error;
  UseKeyScript(*ParseKeyScript("3 Left down\n5 Right down\n", error));
  core::KeyState.fill(0);
  ApplyKeyScript(2);
  EXPECT_FALSE(core::IsDown(core::key::Left));  // nothing before its frame
  ApplyKeyScript(10);
  EXPECT_TRUE(core::IsDown(core::key::Left));
  EXPECT_TRUE(core::IsDown(core::key::Right));
}

}  // namespace
}  // namespace tw::input
