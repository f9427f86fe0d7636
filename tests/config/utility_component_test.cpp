// The utility component: archive stand-in, INI writes and random whole numbers.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <tuple>

#include "config/ini_store.h"
#include "config/utility_component.h"
#include "platform/files.h"
#include "test_support.h"
#include "core/random.h"

namespace tw::config {
namespace {

class UtilityInAppDir : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "Textures");
    platform::SetAppDir(dir_.string());
  }
  test::TempDir temp_;
  const std::filesystem::path dir_ = temp_.path + "/app";
};

TEST_F(UtilityInAppDir, ExtractSucceedsExactlyForFilesBesideTheGame) {
  UtilityComponent& u = Utility();
  EXPECT_EQ(&u, &Utility());  // one instance for the whole run
  EXPECT_TRUE(u.OpenArchive("Textures\\other.pak", "Open File") && u.ArchiveOpen());  // no archive file needed

  EXPECT_FALSE(u.ExtractFile("wd.jpg"));
  std::ofstream(dir_ / "wd.jpg") << "picture";
  // Names resolve without regard to case.
  EXPECT_EQ(std::tuple(u.ExtractFile("wd.jpg"), u.ExtractFile("WD.JPG"), u.ExtractFile("")), std::tuple(true, true, false));

  // Nothing outside the application directory counts.
  std::ofstream(dir_.parent_path() / "tw_utility_outside.jpg") << "x";
  EXPECT_FALSE(u.ExtractFile("..\\tw_utility_outside.jpg") ||
               u.ExtractFile((dir_.parent_path() / "tw_utility_outside.jpg").string()));
}

TEST_F(UtilityInAppDir, IniKeysLandInTheApplicationDirectory) {
  UtilityComponent& u = Utility();
  EXPECT_TRUE(u.WriteIniKey("start", "Seed", "12345", "replay.ini"));
  EXPECT_TRUE(u.WriteIniKey("start", "Seed", "777", "replay.ini"));  // replaced in place
  EXPECT_EQ(ReadIni("start", "Seed", (dir_ / "replay.ini").string()), "777");

  const std::string elsewhere = (dir_ / "Textures" / "other.ini").string();
  EXPECT_TRUE(u.WriteIniKey("a", "b", "c", elsewhere));
  EXPECT_EQ(ReadIni("a", "b", elsewhere), "c");
}

TEST(UtilityRandom, WholeNumbersCoverTheClosedRangeUniformly) {
  core::SeedRandom(20240607);
  UtilityComponent& u = Utility();
  // The ranges the game asks for; every value must come up, none outside.
  for (const auto& [lo, hi] : {std::pair{1, 5}, {0, 4}, {5, 6}}) {
    std::array<int, 16> counts{};
    const int draws = 20000;
    for (int i = 0; i < draws; ++i) {
      const std::int32_t v = u.RandomWhole(lo, hi);
      ASSERT_TRUE(v >= lo && v <= hi) << v;
      ++counts[static_cast<std::size_t>(v)];
    }
    // Far beyond any plausible chance deviation (about 8 standard deviations).
    const double expected = static_cast<double>(draws) / (hi - lo + 1);
    for (int v = lo; v <= hi; ++v)
      EXPECT_NEAR(counts[static_cast<std::size_t>(v)], expected, 8 * std::sqrt(expected)) << v << " of " << lo << ".." << hi;
  }
  EXPECT_EQ(u.RandomWhole(7, 7), 7);
  for (int i = 0; i < 100; ++i) {
    const std::int32_t v = u.RandomWhole(6, 5);
    EXPECT_TRUE(v == 5 || v == 6);
  }
  // The widest range works without overflow.
  const auto lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
  bool negative = false, positive = false;
  for (int i = 0; i < 64; ++i) (u.RandomWhole(lo, hi) < 0 ? negative : positive) = true;
  EXPECT_TRUE(negative && positive);
}

}  // namespace
}  // namespace tw::config
