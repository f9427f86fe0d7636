#include "core/numeric.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace tw::num {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(CLng(0.5), 0);
  EXPECT_EQ(std::tuple(CLng(1.5), CLng(2.5), CLng(-0.5), CLng(-1.5), CLng(-2.5), CLng(2.5000001), CInt(32767.4)),
            std::tuple(2, 2, 0, -2, -2, 3, 32767));
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
  EXPECT_EQ(std::tuple(FloorToLong(-0.5), FloorToLong(2.9), Fix(-2.9), Fix(2.9)), std::tuple(-1, 2, -2, 2));
  EXPECT_EQ(PixelToCell(48.0), 1);   // 48 / 32 truncates
  EXPECT_EQ(PixelToCell(63.5), 2);   // 63.5 rounds to 64 first
  EXPECT_EQ(PixelToCell(62.5), 1);   // 62.5 rounds to 62 (even)
  EXPECT_EQ(PixelToCell(-40.0), -1); // truncation towards zero
}

TEST(TextToNumber, AcceptsWhatTheFilesHold) {
  EXPECT_EQ(ParseNumber("12"), 12.0);
  EXPECT_EQ(ParseNumber("  -3.25 "), -3.25);
  EXPECT_EQ(ParseNumber("+7"), 7.0);
  EXPECT_EQ(std::tuple(ParseNumber(".5"), ParseNumber("5."), ParseNumber("1e3"), ParseNumber("&HFF")),
            std::tuple(0.5, 5.0, 1000.0, 255.0));
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
  EXPECT_EQ(std::tuple(ParseBool("0"), ParseBool("-1"), ParseBool("2.5"), ParseBool(""), ParseBool("yes")),
            std::tuple(false, true, true, std::nullopt, std::nullopt));
  EXPECT_STREQ(BoolText(true), "True");
  EXPECT_STREQ(BoolText(false), "False");
}

}  // namespace
}  // namespace tw::num
