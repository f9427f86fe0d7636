// The drills breaking tiles and being thrown back by stone; the water line,
// tiles standing in the water and the surface settling.
#include "world_fixture.h"

#include <algorithm>
#include <cmath>
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
}

TEST_F(DrillsWater, TipOnARowEdgeAndTheOuterColumnsAreLeftAlone) {
  Set(3, 5, 6);
  Set(3, 4, 6);
  TipAt(5 * 32);  // exactly between rows 4 and 5
  const Single before = world::DrillY;
  world::DrillContactCell(3, 4);
  world::DrillContactCell(3, 5);
  EXPECT_FLOAT_EQ(world::DrillY, before);
  EXPECT_EQ(std::tuple(Get(3, 5), Get(3, 4)), std::tuple(6, 6));

  TipAt(5 * 32 + 16);
  Set(0, 5, 6);
  Set(14, 5, 6);
  world::DrillContactCell(0, 5);
  world::DrillContactCell(14, 5);
  EXPECT_FLOAT_EQ(world::DrillY, 5 * 32 + 16 - 32);
  EXPECT_EQ(std::tuple(Get(0, 5), Get(14, 5)), std::tuple(6, 6));
}

TEST_F(DrillsWater, PushBackNeverLiftsTheDrillsAboveMinus30) {
  core::ScrollY = -100;  // tip at world y 104 (row 3) while the drills hang at canvas -28
  world::DrillY = -28;
  Set(6, 3, 6);
  world::DrillContactCell(6, 3);
  EXPECT_FLOAT_EQ(world::DrillY, -30.0f);
  // Even drills already above -30 are brought down to it by a contact.
  world::DrillY = -40;
  core::ScrollY = -110;
  Set(7, 3, 1);
  world::DrillContactCell(7, 3);
  EXPECT_FLOAT_EQ(world::DrillY, -30.0f);
}

TEST_F(DrillsWater, WithoutGoBackPixelsStoneDoesNotHoldTheDrills) {
  EmptyShaft(false, WithValues(BasicTuning(), {{"HitStone_GoBack_Pixels", "0"}}));
  core::ScrollY = 0;
  Set(3, 5, 6);
  TipAt(5 * 32 + 10);
  const Single before = world::DrillY;
  world::DrillContactCell(3, 5);
  EXPECT_FLOAT_EQ(world::DrillY, before);
  EXPECT_EQ(Get(3, 5), 0);
}

TEST_F(DrillsWater, WaterLineDriftsOnlyWithHighDetailAfterTheFirstLevel) {
  // It drifts by 0.2 towards the fixed line (420).
  world::WaterFixedY = 420;
  for (const auto& [from, level, high, to] : {std::tuple{440.0f, 0, true, 440.0f}, {440.0f, 1, true, 439.8f},
                                              {440.0f, 1, false, 440.0f}, {400.0f, 1, true, 400.2f}}) {
    world::WaterY = from;
    core::CurrentLevel = static_cast<Integer>(level);
    config::GameOptions.Details_High = high;
    world::DriftWaterLine();
    EXPECT_FLOAT_EQ(world::WaterY, to) << from << " level " << level << " high " << high;
  }
}

TEST_F(DrillsWater, ABumpSpreadsAndDiesAway) {
  world::WaterWave.fill(0.0f);
  world::WaterWave[100] = 40;
  world::RelaxWaterSurface();
  EXPECT_GT(world::WaterWave[99], 0.0f);  // spread to the neighbours
  EXPECT_LT(world::WaterWave[100], 40.0f);
  for (int i = 0; i < 300; ++i) world::RelaxWaterSurface();
  for (Single w : world::WaterWave) EXPECT_LT(std::fabs(w), 1.0f);
  // With low detail the surface keeps its shape.
  config::GameOptions.Details_High = false;
  world::WaterWave[100] = 40;
  world::RelaxWaterSurface();
  EXPECT_FLOAT_EQ(world::WaterWave[100], 40.0f);
}

TEST_F(DrillsWater, ATileStandingInTheWaterRaisesTheSurfaceBesideIt) {
  world::WaterY = 300;
  core::CurrentLevel = 1;
  Set(4, 9, 1);  // canvas 288..320 crosses the line
  world::WaterContactCell(4, 9);
  // x 128..160: cells 64 - 13 .. 80 - 13, the shared end cells twice.
  EXPECT_FLOAT_EQ(world::WaterWave[51], -1.0f);
  EXPECT_FLOAT_EQ(world::WaterWave[60], -1.0f);
  EXPECT_FLOAT_EQ(world::WaterWave[67], -0.5f);
  EXPECT_FLOAT_EQ(world::WaterWave[50], 0.0f);
  // It stops once WaterY - wave reaches the tile's canvas top + 48.
  for (int i = 0; i < 200; ++i) world::WaterContactCell(4, 9);
  EXPECT_NEAR(world::WaterWave[60], -(288 + 48 - 300), 0.5f);
  // Column 0, a tile clear of the line, and play before the first level: nothing.
  world::WaterWave.fill(0.0f);
  Set(0, 9, 1);
  Set(6, 7, 1);
  world::WaterContactCell(0, 9);
  world::WaterContactCell(6, 7);
  core::CurrentLevel = 0;
  world::WaterContactCell(4, 9);
  EXPECT_TRUE(std::all_of(world::WaterWave.begin(), world::WaterWave.end(), [](Single w) { return w == 0.0f; }));
}

}  // namespace
}  // namespace tw::testing
