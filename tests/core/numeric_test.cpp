#include "core/numeric.h"

#include <gtest/gtest.h>

#include <limits>

namespace tw::num {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(CLng(0.5), 0);
  EXPECT_EQ(CLng(1.5), 2);
  EXPECT_EQ(CLng(2.5), 2);
  EXPECT_EQ(CLng(-0.5), 0);
  EXPECT_EQ(CLng(-1.5), -2);
  EXPECT_EQ(CLng(-2.5), -2);
  EXPECT_EQ(CLng(2.5000001), 3);
  EXPECT_EQ(CInt(32767.4), 32767);
}

TEST(Rounding, OutOfRangeSaturatesOrIsRejected) {
  EXPECT_EQ(CInt(40000.0), 32767);
  EXPECT_EQ(CInt(-40000.0), -32768);
  EXPECT_EQ(CLng(std::numeric_limits<double>::infinity()), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(CLng(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(CIntChecked(32767.5), std::nullopt);  // rounds to 32768
  EXPECT_EQ(CIntChecked(-32768.4), std::optional<std::int16_t>(-32768));
  EXPECT_EQ(CLngChecked(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(Rounding, FloorTruncationAndCells) {
  EXPECT_EQ(FloorToLong(-0.5), -1);
  EXPECT_EQ(FloorToLong(2.9), 2);
  EXPECT_EQ(Fix(-2.9), -2);
  EXPECT_EQ(Fix(2.9), 2);
  EXPECT_EQ(PixelToCell(48.0), 1);   // 48 / 32 truncates
  EXPECT_EQ(PixelToCell(63.5), 2);   // 63.5 rounds to 64 first
  EXPECT_EQ(PixelToCell(62.5), 1);   // 62.5 rounds to 62 (even)
  EXPECT_EQ(PixelToCell(-40.0), -1); // truncation towards zero
}

TEST(TextToNumber, AcceptsWhatTheFilesHold) {
  EXPECT_EQ(ParseNumber("12"), 12.0);
  EXPECT_EQ(ParseNumber("  -3.25 "), -3.25);
  EXPECT_EQ(ParseNumber("+7"), 7.0);
  EXPECT_EQ(ParseNumber(".5"), 0.5);
  EXPECT_EQ(ParseNumber("5."), 5.0);
  EXPECT_EQ(ParseNumber("1e3"), 1000.0);
  EXPECT_EQ(ParseNumber("&HFF"), 255.0);
}

TEST(TextToNumber, RejectsMalformedText) {
  for (const char* bad : {"", "  ", "abc", "12abc", "1,5", "--1", "1e", "nan", "inf", ".", "-", "1 2"}) {
    EXPECT_EQ(ParseNumber(bad), std::nullopt) << bad;
  }
}

TEST(TextToBool, WordsInAnyCaseOrNumbers) {
  EXPECT_EQ(ParseBool("True"), true);
  EXPECT_EQ(ParseBool("fAlSe"), false);
  EXPECT_EQ(ParseBool(" TRUE "), true);
  EXPECT_EQ(ParseBool("0"), false);
  EXPECT_EQ(ParseBool("-1"), true);
  EXPECT_EQ(ParseBool("2.5"), true);
  EXPECT_EQ(ParseBool(""), std::nullopt);
  EXPECT_EQ(ParseBool("yes"), std::nullopt);
  EXPECT_STREQ(BoolText(true), "True");
  EXPECT_STREQ(BoolText(false), "False");
}

}  // namespace
}  // namespace tw::num
