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
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(std::tuple(CInt(40000.0), CInt(-40000.0), CLng(std::numeric_limits<double>::infinity()), CLng(kNaN)),
            std::tuple(32767, -32768, std::numeric_limits<std::int32_t>::max(), 0));
  // 32767.5 rounds to 32768.
  EXPECT_EQ(std::tuple(CIntChecked(32767.5), CIntChecked(-32768.4), CLngChecked(kNaN)),
            std::tuple(std::nullopt, std::optional<std::int16_t>(-32768), std::nullopt));
}

TEST(Rounding, FloorTruncationAndCells) {
  EXPECT_EQ(std::tuple(FloorToLong(-0.5), FloorToLong(2.9), Fix(-2.9), Fix(2.9)), std::tuple(-1, 2, -2, 2));
  // 48 / 32 truncates; 63.5 rounds to 64 first, 62.5 to 62 (even); truncation towards zero.
  EXPECT_EQ(std::tuple(PixelToCell(48.0), PixelToCell(63.5), PixelToCell(62.5), PixelToCell(-40.0)), std::tuple(1, 2, 1, -1));
}

TEST(TextToNumber, AcceptsWhatTheFilesHold) {
  EXPECT_EQ(std::tuple(ParseNumber("12"), ParseNumber("  -3.25 "), ParseNumber("+7"), ParseNumber(".5"), ParseNumber("5."),
                       ParseNumber("1e3"), ParseNumber("&HFF")),
            std::tuple(12.0, -3.25, 7.0, 0.5, 5.0, 1000.0, 255.0));
}

TEST(TextToNumber, RejectsMalformedText) {
  for (const char* bad : {"", "  ", "abc", "12abc", "1,5", "--1", "1e", "nan", "inf", ".", "-", "1 2"}) {
    EXPECT_EQ(ParseNumber(bad), std::nullopt) << bad;
  }
}

TEST(TextToBool, WordsInAnyCaseOrNumbers) {
  EXPECT_EQ(std::tuple(ParseBool("True"), ParseBool("fAlSe"), ParseBool(" TRUE "), ParseBool("0"), ParseBool("-1"),
                       ParseBool("2.5"), ParseBool(""), ParseBool("yes")),
            std::tuple(true, false, true, false, true, true, std::nullopt, std::nullopt));
  EXPECT_EQ(std::tuple(std::string(BoolText(true)), std::string(BoolText(false))), std::tuple("True", "False"));
}

}  // namespace
}  // namespace tw::num
