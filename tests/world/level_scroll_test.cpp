#include "world/level_scroll.h"

#include <gtest/gtest.h>

#include <tuple>

#include "config/tuning.h"
#include "core/game_state.h"
#include "world/drills_water.h"
#include "world/player.h"

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

TEST_F(LevelScrollTest, ScrollingFollowsTheLevelAtTheBottomRow) {
  // (y + 30) / 32 is the creature's row; from row 4 on the screen scrolls at
  // the speed of the level its bottom row lies in, and the drills come down.
  for (const auto& [y, scroll, level, after] : {std::tuple{66.0f, 0.0f, 0, 0.0f}, {98.0f, 0.0f, 1, -1.8f},
                                               {98.0f, -160.0f, 2, -162.0f}, {40000.0f, -64000.0f, 0, -64000.0f}}) {
    world::Player.Y = y;
    core::ScrollY = scroll;
    world::DrillY = -100;
    TrackLevelAndScroll();
    LowerDrills();
    EXPECT_EQ(std::tuple(core::CurrentLevel, core::ScrollY, world::DrillY), std::tuple(level, after, scroll == after ? -100.0f : -99.0f)) << y << " " << scroll;
  }
  // A game that is over freezes both.
  world::Player.Y = 500;
  core::GameOver = true;
  core::ScrollY = 0;
  TrackLevelAndScroll();
  LowerDrills();
  EXPECT_EQ(std::tuple(core::ScrollY, world::DrillY), std::tuple(0.0f, -100.0f));
}

}  // namespace
}  // namespace tw::world
