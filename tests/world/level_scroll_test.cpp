#include "world/level_scroll.h"

#include <gtest/gtest.h>

#include <tuple>

#include "config/tuning.h"
#include "core/game_state.h"
#include "world/drills_water.h"
#include "world/player.h"
#include "core/random.h"

namespace tw::world {
namespace {

void SetLevels() {
  // Sizes 20, 30, 80, ... as the built-in table; speeds 90, 100, 120 ...
  const Integer sizes[] = {0, 20, 30, 80, 100, 120, 120, 130, 140, 150, 160, 15};
  const Single speeds[] = {0, 90, 100, 120, 130, 150, 160, 180, 210, 250, 270, 0};
  for (int i = 0; i <= 11; ++i) {
    config::Levels[static_cast<std::size_t>(i)].LevelSize = sizes[i];
    config::Levels[static_cast<std::size_t>(i)].ScreenSpeed = speeds[i];
  }
}

class LevelScrollTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLevels();
    core::FrameTime = 0.02;
    core::ScrollY = 0;
    core::CurrentLevel = 0;
    core::GameOver = false;
    world::DrillY = -100;
    config::Tuning.Speed_of_Lowering = 50;
  }
};

TEST_F(LevelScrollTest, NothingScrollsWhileTheCreatureIsInTheTopRows) {
  world::Player.Y = 66;  // (66 + 30) / 32 = 3
  for (int i = 0; i < 10; ++i) {
    TrackLevelAndScroll();
    LowerDrills();
  }
  EXPECT_EQ(std::tuple(core::ScrollY, core::CurrentLevel, world::DrillY), std::tuple(0, 0, -100));
}

TEST_F(LevelScrollTest, ScrollsAtTheSpeedOfTheLevelAtTheBottomRow) {
  world::Player.Y = 98;  // row 4
  TrackLevelAndScroll();
  EXPECT_EQ(core::CurrentLevel, 1);  // bottom row 15 lies in level 1 (rows 0..19)
  EXPECT_FLOAT_EQ(core::ScrollY, -1.8f);
  LowerDrills();
  EXPECT_FLOAT_EQ(world::DrillY, -99.0f);

  core::ScrollY = -160;  // bottom row 5 + 15 = 20: the first row of level 2
  TrackLevelAndScroll();
  EXPECT_EQ(core::CurrentLevel, 2);
  EXPECT_FLOAT_EQ(core::ScrollY, -162.0f);
}

TEST_F(LevelScrollTest, PastTheEndZoneTheLevelIsZeroAndScrollingStops) {
  world::Player.Y = 40000;
  core::ScrollY = -32.0f * 2000;
  TrackLevelAndScroll();
  EXPECT_EQ(core::CurrentLevel, 0);
  EXPECT_FLOAT_EQ(core::ScrollY, -64000.0f);
}

TEST_F(LevelScrollTest, GameOverFreezesScrollAndDrills) {
  world::Player.Y = 500;
  core::GameOver = true;
  core::CurrentLevel = 3;
  TrackLevelAndScroll();
  LowerDrills();
  EXPECT_EQ(core::ScrollY, 0);
  EXPECT_EQ(world::DrillY, -100);
}

TEST_F(LevelScrollTest, CloudsRiseWithTheScrollEvenBeforeScrollingStarts) {
  core::SeedRandom(2);
  Clouds = {};
  Clouds[0] = Cloud{true, 100, 300, 217, 92, 0.25f, 2.5f};
  Clouds[1] = Cloud{true, 100, 100, 189, 84, -0.25f, 2.0f};
  core::CurrentLevel = 1;
  DriftClouds();
  EXPECT_FLOAT_EQ(Clouds[0].Y, 300.0f - 90.0f / 2.5f * 0.02f);
  EXPECT_FLOAT_EQ(Clouds[0].X, 100.25f);
  EXPECT_FLOAT_EQ(Clouds[1].Y, 100.0f - 0.9f);
  // A cloud that left the top becomes inactive.
  Clouds[1].Y = -84.5f;
  DriftClouds();
  EXPECT_FALSE(Clouds[1].Active);
}

}  // namespace
}  // namespace tw::world
