// The one random generator's whole numbers.
#include "core/random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace tw::core {
namespace {

TEST(Random, WholeNumbersCoverTheClosedRangeUniformly) {
  SeedRandom(20240607);
  // The ranges the game asks for; every value must come up, none outside.
  for (const auto& [lo, hi] : {std::pair{1, 5}, {0, 4}, {5, 6}}) {
    std::array<int, 16> counts{};
    const int draws = 20000;
    for (int i = 0; i < draws; ++i) {
      const std::int32_t v = RandomWhole(lo, hi);
      ASSERT_TRUE(v >= lo && v <= hi) << v;
      ++counts[static_cast<std::size_t>(v)];
    }
    // Far beyond any plausible chance deviation (about 8 standard deviations).
    const double expected = static_cast<double>(draws) / (hi - lo + 1);
    for (int v = lo; v <= hi; ++v)
      EXPECT_NEAR(counts[static_cast<std::size_t>(v)], expected, 8 * std::sqrt(expected)) << v << " of " << lo << ".." << hi;
  }
  EXPECT_EQ(RandomWhole(7, 7), 7);
  for (int i = 0; i < 100; ++i) {
    const std::int32_t v = RandomWhole(6, 5);
    EXPECT_TRUE(v == 5 || v == 6);
  }
  // The widest range works without overflow.
  const auto lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
  bool negative = false, positive = false;
  for (int i = 0; i < 64; ++i) (RandomWhole(lo, hi) < 0 ? negative : positive) = true;
  EXPECT_TRUE(negative && positive);
}

}  // namespace
}  // namespace tw::core
