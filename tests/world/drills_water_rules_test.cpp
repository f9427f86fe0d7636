// The drills breaking tiles and being thrown back by stone; the water line,
// tiles standing in the water and the surface settling.
#include "world_fixture.h"

#include <algorithm>
#include <tuple>

namespace tw::testing {
namespace {

class DrillsWater : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    EmptyShaft();
    core::ScrollY = 0;
  }
  // Puts the drills' tip at world y `tip` (ScrollY 0).
  static void TipAt(Single tip) { world::DrillY = tip - 32.0f; }
};

// Basic tuning: Speed_of_Lowering 2, HitStone_GoBack_Pixels 50, so one stone
// throws the drills back by 2 x 50 x 0.02 = 2 pixels.
TEST_F(DrillsWater, StoneThrowsTheDrillsBackAndIsBrokenInTheSameFrame) {
  Set(3, 5, 6);
  Set(4, 5, 6);
  Set(5, 5, 1);
  TipAt(5 * 32 + 10);
  const Single before = world::DrillY;
  for (int c = 3; c <= 5; ++c) world::DrillContactCell(c, 5);
  EXPECT_FLOAT_EQ(world::DrillY, before - 4.0f);  // two stones add up
  // All broken (the ordinary tile smashed, or knocked loose now and then in arcade mode).
  EXPECT_EQ(std::tuple(Get(3, 5), Get(4, 5), Get(5, 5)), std::tuple(0, 0, 0));
  EXPECT_FLOAT_EQ(world::Score, 0.0f);

  // Without HitStone_GoBack_Pixels stone does not hold them.
  EmptyShaft(false, WithValues(BasicTuning(), {{"HitStone_GoBack_Pixels", "0"}}));
  core::ScrollY = 0;
  Set(3, 5, 6);
  TipAt(5 * 32 + 10);
  world::DrillContactCell(3, 5);
  EXPECT_EQ(std::tuple(world::DrillY, Get(3, 5)), std::tuple(5.0f * 32 + 10 - 32, 0));
}

TEST_F(DrillsWater, ARowEdgeTheOuterColumnsAndTheTopLimit) {
  // A tip exactly between rows 4 and 5 reaches neither; the wall columns are never broken.
  Set(3, 4, 6);
  Set(0, 5, 6);
  Set(14, 5, 6);
  TipAt(5 * 32);
  for (const auto& [c, r] : {std::pair{3, 4}, {0, 5}, {14, 5}}) world::DrillContactCell(c, r);
  EXPECT_EQ(std::tuple(world::DrillY, Get(3, 4), Get(0, 5), Get(14, 5)), std::tuple(5.0f * 32 - 32, 6, 6, 6));
  // Push-back never lifts the drills above -30; drills above it are brought down by a contact.
  for (const auto& [drill, scroll] : {std::pair{-28.0f, -100.0f}, {-40.0f, -110.0f}}) {
    world::DrillY = drill;
    core::ScrollY = scroll;  // tip in row 3
    Set(6, 3, 6);
    world::DrillContactCell(6, 3);
    EXPECT_FLOAT_EQ(world::DrillY, -30.0f) << drill;
  }
}

// How a tile in the water raises the surface and how it settles again is
// played through in the golden runs (they hash every cell of the surface).
TEST_F(DrillsWater, BeforeTheFirstLevelOrWithLowDetailTheSurfaceKeepsItsShape) {
  world::WaterY = 300;
  core::CurrentLevel = 0;
  Set(4, 9, 1);  // canvas 288..320 crosses the line
  world::WaterContactCell(4, 9);
  EXPECT_TRUE(std::all_of(world::WaterWave.begin(), world::WaterWave.end(), [](Single w) { return w == 0.0f; }));
  config::GameOptions.Details_High = false;
  world::WaterWave[100] = 40;
  world::RelaxWaterSurface();
  EXPECT_FLOAT_EQ(world::WaterWave[100], 40.0f);
}

TEST_F(DrillsWater, SplashesFarOutsideTheShaftEndAndLeaveTheSurfaceAlone) {
  // A blast flung far sideways by absurd tuning: the splash loops over its
  // pixels used to run past the top of the integer range. (The creature is
  // brought back onto the grid before it can splash.)
  for (const Single x : {2147483648.0f, 3.0e9f, -3.0e9f, 1.0e38f, -1.0e38f}) {
    world::WaterY = 300;
    PlaceCreature(0, 0);
    world::Player.X = x;
    world::Player.Y = 300;  // bottom below the water line
    world::Player.InWater = false;
    world::UpdatePlayer();
    EXPECT_TRUE(world::Player.InWater) << x;
    EXPECT_EQ(world::Player.X, x > 0 ? 640.0f : 0.0f) << x;
    world::WaterWave.fill(0.0f);
    for (auto& e : world::ExplosionEffects) e = world::ExplosionEffect{};
    world::SpawnExplosion(x, 300, x, 300, 0);
    EXPECT_TRUE(world::ExplosionEffects[0].Active) << x;
    for (const Single w : world::WaterWave) ASSERT_EQ(w, 0.0f) << x;
  }
}

}  // namespace
}  // namespace tw::testing
