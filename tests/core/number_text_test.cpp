// The float text of replays, options and reports comes from one library in
// every build; here it is held to what the native C++ library's to_chars and
// from_chars give, byte for byte, so files written before and after read the same.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "core/numeric.h"

namespace tw::num {
namespace {

template <typename T>
std::string StdText(T v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

template <typename T>
void ExpectSameText(T v) {
  ASSERT_EQ(ShortestText(v), StdText(v)) << std::hexfloat << v;
}

TEST(NumberText, TrickyValuesMatchToChars) {
  using F = std::numeric_limits<float>;
  using D = std::numeric_limits<double>;
  for (float v : {0.0f, -0.0f, 1.0f, -1.5f, 0.1f, 0.0001f, 0.00001f, 1e-4f, 8700.0f, 12345678.0f, 1e7f, 1e8f,
                  123456789.0f, 1e15f, 1e16f, 3.4028235e38f, 1.17549435e-38f, 1.4e-45f, 0.3f, 2.5e-5f, 100.0f,
                  1e21f, 9.999999e-5f, 16777216.0f, 16777217.0f, F::max(), F::min(), F::denorm_min(),
                  F::infinity(), -F::infinity(), F::quiet_NaN(), -F::quiet_NaN(), 2.75f, 0.05f, 33.333332f}) {
    ExpectSameText(v);
  }
  for (double v : {0.0, -0.0, 0.1, 0.2 + 0.1, 1e-4, 1e-5, 123456.0, 1e15, 1e16, 1e17, 1e21, 1e22, 1e23,
                   5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 9007199254740993.0, 0.001, 1234.5e-10,
                   D::max(), D::min(), D::denorm_min(), D::infinity(), D::quiet_NaN(), 1.0 / 3.0, 2.0 / 3.0,
                   4.35, 8.7e3, 1e100, 1e-100, 123e-310}) {
    ExpectSameText(v);
  }
}

TEST(NumberText, RandomBitPatternsMatchToChars) {
  std::mt19937_64 gen(18);
  for (int i = 0; i < 400000; ++i) {
    const std::uint64_t bits = gen();
    ExpectSameText(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    ExpectSameText(std::bit_cast<double>(bits));
    // Values of the game's own scale, where whole numbers and short fractions are common.
    ExpectSameText(static_cast<float>(static_cast<std::int32_t>(bits % 2000000) - 1000000) / 64.0f);
  }
}

TEST(NumberText, ParsingMatchesFromChars) {
  const char* cases[] = {"0", "-0", "1", "0.1", "3.4028235e38", "1.7976931348623157e308", "1.7976931348623159e308",
                         "1e309", "-1e309", "1e-400", "4.9e-324", "2.4e-324", "2.5e-324", "1e-310", "0e-999",
                         "0.000000000000000000000000000000001", "123456789012345678901234567890", "9007199254740993",
                         "1.5", ".5", "5.", "1E5", "1e+5", "1e-5", "-3.25", "2.2250738585072011e-308",
                         "0.1000000000000000055511151231257827021181583404541015625", "7.", "00012", "1e",
                         "", "-", ".", "e5", "1x", "1.2.3", "inf", "nan", "-inf", "0x10"};
  for (const char* text : cases) {
    const std::string_view s(text);
    double expected = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), expected);
    const bool ok = r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(expected);
    const auto got = ParseExactDouble(s);
    ASSERT_EQ(got.has_value(), ok) << text;
    if (ok) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(*got), std::bit_cast<std::uint64_t>(expected)) << text;
    }
  }
  // Every shortest text reads back to the value it was written from.
  std::mt19937_64 gen(19);
  for (int i = 0; i < 100000; ++i) {
    const double v = std::bit_cast<double>(gen());
    if (!std::isfinite(v)) continue;
    const auto back = ParseExactDouble(ShortestText(v));
    ASSERT_TRUE(back.has_value()) << ShortestText(v);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(*back), std::bit_cast<std::uint64_t>(v));
  }
}

}  // namespace
}  // namespace tw::num
