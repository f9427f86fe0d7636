// The creature: jumping, walking, bouncing, glass, and the end of a game.
#include "world_fixture.h"

#include <cmath>
#include <tuple>
#include <vector>

namespace tw::testing {
namespace {

void Floor(int row, int from, int to, Integer v) {
  for (int col = from; col <= to; ++col) world::TileAt(static_cast<Single>(col), static_cast<Single>(row), v);
}

class PlayerMove : public WorldTest {
 protected:
  // A fresh empty shaft, the creature standing at cell (5, 5) on a floor of `cell`.
  void OnFloor(Integer cell, const std::string& tuning = BasicTuning()) {
    EmptyShaft(false, tuning);
    for (auto& d : world::SmashDebrisList) d = world::SmashDebris{};
    Floor(6, 2, 12, cell);
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

TEST_F(PlayerMove, JumpFromStandingAndRepeatedPresses) {
  OnFloor(world::kStone);  // a landing cannot knock stone loose
  core::Controls.JumpRequest = true;
  world::UpdatePlayer();
  // -0.02 x Jump_Force, then one step of gravity (Weight 5 x 0.02); a press
  // on the way up is consumed and does nothing.
  EXPECT_TRUE(world::Player.Airborne && !core::Controls.JumpRequest);
  core::Controls.JumpRequest = true;
  world::UpdatePlayer();
  EXPECT_TRUE(!core::Controls.JumpRequest && std::fabs(world::Player.VelocityY + 2.8f) < 1e-5f);

  // Back down: it lands, bounces a little and settles on the floor.
  int airborne = 0;
  for (int i = 0; i < 200; ++i) {
    world::UpdatePlayer();
    airborne += world::Player.Airborne ? 1 : 0;
  }
  EXPECT_GT(airborne, 50);
  EXPECT_EQ(std::tuple(world::Player.Airborne, world::Player.Y), std::tuple(false, 160.0f));
}

TEST_F(PlayerMove, JumpPressedWhileFallingBrakes) {
  OnFloor(0);
  world::Player.Airborne = true;
  for (const auto& [ears, braked] : {std::pair{0.0f, 4.0f * 0.9f}, {100.0f, 3.0f}}) {  // big ears brake harder
    world::EarsTime = ears;
    world::Player.VelocityY = 4.0f;
    core::Controls.JumpRequest = true;
    world::UpdatePlayer();
    EXPECT_NEAR(world::Player.VelocityY, braked + 0.1f, 1e-5) << ears;  // then a step of gravity
    EXPECT_FLOAT_EQ(world::Player.SwooshTimer, 3.0f);
  }
}

TEST_F(PlayerMove, WalkingSpeedPerMaterialAndWithBoots) {
  struct Case {
    Integer cell;
    bool boots;
    Single step;
  };
  const Case cases[] = {{1, false, 2.0f},  {2, false, 1.0f},  {3, false, 2.0f}, {4, false, 4.0f},
                        {world::kGlass, false, 2.0f}, {world::kStone, false, 2.0f}, {1, true, 3.0f},
                        {2, true, 1.5f}};
  for (const Case& c : cases) {
    OnFloor(c.cell);
    world::BootTime = c.boots ? 50.0f : 0.0f;
    Step(true);
    EXPECT_NEAR(world::Player.X, 160.0f + c.step, 1e-4) << c.cell << (c.boots ? " boots" : "");
    Step(false, true);
    EXPECT_NEAR(world::Player.X, 160.0f, 1e-4) << c.cell;
    EXPECT_FLOAT_EQ(world::Player.Y, 160.0f);
  }
}

TEST_F(PlayerMove, IceKeepsTheCreatureSlidingUntilAWall) {
  EmptyShaft();
  Floor(6, 2, 12, 4);  // ice
  Set(10, 5, 1);       // a tile standing in the way
  PlaceCreature(4, 5);
  Step(true);
  EXPECT_TRUE(world::Player.OnIce);
  // One press, and it keeps going up to where the wall probe finds the tile,
  // which holds the intent until it is gone.
  for (int i = 0; i < 100; ++i) world::UpdatePlayer();
  EXPECT_EQ(std::tuple(world::Player.X, core::Controls.MoveRight), std::tuple(284.0f, true));
  Set(10, 5, 0);
  world::UpdatePlayer();
  EXPECT_GT(world::Player.X, 284.0f);

}

TEST_F(PlayerMove, LandingsBounceSmashGlassOrKnockTilesLoose) {
  // A plain landing bounces back by BounceFrom_Everything_DEVIDER, off gum by
  // 20 / 10 (too slow to knock the gum loose); glass hit at
  // Smash_Glass_ForceNeeded or more is smashed and slows the creature instead,
  // slower it is knocked loose, as is a tile between push and smash force;
  // with the floor gone the creature falls on.
  struct Case {
    Integer floor;
    Single speed, after;
    Integer cell;
    bool smashed, loose;
  };
  for (const Case& c : {Case{world::kStone, 2.0f, -0.5f, world::kStone, false, false}, Case{3, 2.0f, -1.0f, 3, false, false},
                        Case{world::kGlass, 6.0f, 3.0f, 0, true, false}, Case{world::kGlass, 3.0f, NAN, 0, false, true},
                        Case{1, 3.5f, NAN, 0, false, true}}) {
    OnFloor(c.floor);
    world::Player.Airborne = true;
    world::Player.VelocityY = c.speed;
    world::UpdatePlayer();
    EXPECT_EQ(std::tuple(Get(5, 6), world::SmashDebrisList[0].Active, world::FallingTiles[0].Active, world::Player.Airborne),
              std::tuple(c.cell, c.smashed, c.loose, c.cell == 0)) << c.floor << " at " << c.speed;
    if (!std::isnan(c.after)) {
      EXPECT_EQ(world::Player.VelocityY, c.after) << c.floor << " at " << c.speed;
    }
  }
}

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

TEST_F(PlayerMove, FallingTilesPushTheCreature) {
  OnFloor(world::kStone);
  world::FallingTiles[0] = world::FallingTile{true, 160.0f, 140.0f, 3.0f, 1.0f, false, false};
  world::UpdatePlayer();
  const auto& t = world::FallingTiles[0];
  EXPECT_EQ(std::tuple(t.Y, t.VelocityY, t.Touched), std::tuple(138.0f, 1.0f, true));
  EXPECT_FLOAT_EQ(world::Player.VelocityY, 1.0f);  // 0 + 3 / 3
}

}  // namespace
}  // namespace tw::testing
