// The creature: absurd tunings and the end of a game. Walking on each
// material and with boots, jumps, braking, ice, landings and tiles falling on
// the creature are played through in the golden runs, which hash its whole
// state.
#include "world_fixture.h"

#include <cmath>
#include <tuple>

namespace tw::testing {
namespace {

class PlayerMove : public WorldTest {
 protected:
  // A fresh empty shaft, the creature standing at cell (5, 5) on a floor of `cell`.
  void OnFloor(Integer cell, const std::string& tuning = BasicTuning()) {
    EmptyShaft(false, tuning);
    for (auto& d : world::SmashDebrisList) d = world::SmashDebris{};
    for (int col = 2; col <= 12; ++col) Set(col, 6, cell);
    PlaceCreature(5, 5);
  }
  // One step with only the given intent held.
  static void Step(bool right, bool left = false) {
    core::Controls = core::ControlState{};
    core::Controls.MoveRight = right;
    core::Controls.MoveLeft = left;
    world::UpdatePlayer();
  }
};

TEST_F(PlayerMove, ZeroDivisorsNeverMakeInfiniteSpeeds) {
  const std::string text = WithValues(BasicTuning(), {{"WalkSpeed_Mud_DEVIDER", "0"}, {"SlowDown_AfterHit_Ice_DEVIDER", "0"},
                                                      {"BounceFrom_Everything_DEVIDER", "0"}, {"BounceFrom_Gum_DEVIDER", "0"}});
  for (Integer floor : {Integer{1}, Integer{2}, Integer{3}, world::kGlass}) {
    OnFloor(floor, text);
    world::Player.VelocityY = 1.0f;
    Step(true);
    // The value passes undivided (so finite).
    EXPECT_EQ(std::tuple(std::fabs(world::Player.VelocityY), world::Player.X), std::tuple(1.0f, 162.0f)) << floor;
  }
}

TEST_F(PlayerMove, EditedTuningsNeverCarryTheCreatureOffTheGrid) {
  constexpr Single kRightmost = 20.0f * 32.0f;
  // A start column past the grid.
  EmptyShaft(false, WithValues(BasicTuning(), {{"Position_Tile_X", "27"}}));
  EXPECT_EQ(world::Player.X, kRightmost);
  // A walking step of 2,000 px goes through any wall, either way.
  for (bool right : {true, false}) {
    OnFloor(1, WithValues(BasicTuning(), {{"WalkSpeed", "100000"}}));
    Step(right, !right);
    EXPECT_EQ(world::Player.X, right ? kRightmost : 0.0f) << right;
  }
}

TEST_F(PlayerMove, TheDrillsTheWaterOrTheBottomEndTheGame) {
  OnFloor(1);
  world::DrillY = 128.0f;  // tip exactly at the creature's top: not caught
  world::UpdatePlayer();
  EXPECT_FALSE(core::GameOver);
  world::DrillY = 128.5f;
  world::UpdatePlayer();
  EXPECT_EQ(std::tuple(core::GameOver, world::GameWon), std::tuple(true, false));
  // Once over, the creature no longer moves.
  core::Controls.MoveRight = true;
  world::UpdatePlayer();
  EXPECT_FLOAT_EQ(world::Player.X, 160.0f);

  EmptyShaft();
  PlaceCreature(5, 14);
  world::Player.Y = 479.0f;
  world::Player.VelocityY = 5.0f;
  world::UpdatePlayer();
  EXPECT_TRUE(world::Player.InWater && core::GameOver);  // passed the water line on the way
  Single disturbed = 0;
  for (Single w : world::WaterWave) disturbed += w;
  EXPECT_GT(disturbed, 0.0f);

  // Standing on row 1047 is not yet a win; reaching it is, even while falling.
  for (const auto& [row, won] : {std::pair{1046, false}, {1047, true}}) {
    EmptyShaft();
    core::ScrollY = -(1047.0f * 32.0f - 200.0f);
    PlaceCreature(5, row);
    if (!won) Set(4, 1047, world::kStone), Set(5, 1047, world::kStone);
    world::Player.VelocityY = won ? 3.0f : 0.0f;
    world::UpdatePlayer();
    EXPECT_EQ(std::tuple(world::GameWon, core::GameOver), std::tuple(won, won)) << row;
  }
}

}  // namespace
}  // namespace tw::testing
