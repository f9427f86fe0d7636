// The creature: jumping, walking, bouncing, glass, and the end of a game.
#include "world_fixture.h"

#include <cmath>
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
};

TEST_F(PlayerMove, JumpFromStandingAndRepeatedPresses) {
  OnFloor(world::kStone);  // a landing cannot knock stone loose
  core::Controls.JumpRequest = true;
  world::UpdatePlayer();
  EXPECT_TRUE(world::Player.Airborne);
  EXPECT_FALSE(core::Controls.JumpRequest);
  // -0.02 x Jump_Force, then one step of gravity (Weight 5 x 0.02).
  EXPECT_FLOAT_EQ(world::Player.VelocityY, -2.9f);
  EXPECT_NEAR(world::Player.Y, 160.0f - 1.0f - 2.9f, 1e-4);

  // A press on the way up is consumed and does nothing.
  core::Controls.JumpRequest = true;
  world::UpdatePlayer();
  EXPECT_FALSE(core::Controls.JumpRequest);
  EXPECT_FLOAT_EQ(world::Player.VelocityY, -2.8f);

  // Back down: it lands, bounces a little and settles on the floor.
  int airborne = 0;
  for (int i = 0; i < 200; ++i) {
    world::UpdatePlayer();
    airborne += world::Player.Airborne ? 1 : 0;
  }
  EXPECT_GT(airborne, 50);
  EXPECT_FALSE(world::Player.Airborne);
  EXPECT_FLOAT_EQ(world::Player.Y, 160.0f);
  EXPECT_LE(world::Player.VelocityY, 0.0f);
}

TEST_F(PlayerMove, JumpPressedWhileFallingBrakes) {
  EmptyShaft();
  PlaceCreature(5, 5);
  world::Player.Airborne = true;
  world::Player.VelocityY = 4.0f;
  core::Controls.JumpRequest = true;
  world::UpdatePlayer();
  EXPECT_NEAR(world::Player.VelocityY, 4.0f * 0.9f + 0.1f, 1e-5);
  EXPECT_FLOAT_EQ(world::Player.SwooshTimer, 3.0f);

  world::EarsTime = 100;  // big ears brake harder
  world::Player.VelocityY = 4.0f;
  core::Controls.JumpRequest = true;
  world::UpdatePlayer();
  EXPECT_NEAR(world::Player.VelocityY, 3.0f + 0.1f, 1e-5);
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
    core::Controls = core::ControlState{};
    core::Controls.MoveRight = true;
    world::UpdatePlayer();
    EXPECT_NEAR(world::Player.X, 160.0f + c.step, 1e-4) << c.cell << (c.boots ? " boots" : "");
    core::Controls = core::ControlState{};
    core::Controls.MoveLeft = true;
    world::UpdatePlayer();
    EXPECT_NEAR(world::Player.X, 160.0f, 1e-4) << c.cell;
    EXPECT_FLOAT_EQ(world::Player.Y, 160.0f);
  }
}

TEST_F(PlayerMove, MudAndIceSpeedsAreSinglesBeforeTheStepTime) {
  // WalkSpeed / divisor and factor x WalkSpeed are rounded to Single before
  // the Double step time scales them; in Double they land one Single apart.
  OnFloor(2, WithValues(BasicTuning(), {{"WalkSpeed", "217"}, {"WalkSpeed_Mud_DEVIDER", "3"}}));
  PlaceCreature(3, 5);
  core::Controls.MoveRight = true;
  world::UpdatePlayer();
  EXPECT_EQ(world::Player.X, 0x1.85c964p+6f);  // 96 + Single(72.333336) x 0.02

  OnFloor(4, WithValues(BasicTuning(), {{"WalkSpeed", "209"}, {"WalkSpeed_Ice_MULTIPLY", "5"}}));
  core::Controls = core::ControlState{};
  core::Controls.MoveRight = true;
  world::UpdatePlayer();
  EXPECT_EQ(world::Player.X, 0x1.42c964p+7f);  // 160 + Single(0.33333334 x 209) x 0.02
}

TEST_F(PlayerMove, JumpPitchIsRoundedFromASingle) {
  OnFloor(world::kStone);
  ListenToSounds();
  // (W - 4) x 4 + 22 is exactly 7.5 in Single (half to even: 8); in Double
  // it stays just below and would round to 7.
  world::Player.Weight = std::nextafter(0.375f, 0.0f);
  core::Controls.JumpRequest = true;
  world::UpdatePlayer();
  ASSERT_FALSE(PlayedSounds().empty());
  EXPECT_EQ(PlayedSounds().front().name, "jump");
  EXPECT_EQ(PlayedSounds().front().fourth, 8);
}

TEST_F(PlayerMove, IceKeepsTheCreatureSlidingUntilAWall) {
  EmptyShaft();
  Floor(6, 2, 12, 4);  // ice
  Set(10, 5, 1);       // a tile standing in the way
  PlaceCreature(4, 5);
  core::Controls = core::ControlState{};
  core::Controls.MoveRight = true;
  world::UpdatePlayer();
  EXPECT_TRUE(world::Player.OnIce);
  EXPECT_TRUE(core::Controls.MoveRight);  // one press, and it keeps going
  Single last = world::Player.X;
  int moving = 0;
  for (int i = 0; i < 100; ++i) {
    world::UpdatePlayer();
    if (world::Player.X > last) ++moving;
    last = world::Player.X;
  }
  EXPECT_GT(moving, 10);
  EXPECT_FLOAT_EQ(world::Player.X, 284.0f);  // stopped where the wall probe finds the tile
  EXPECT_TRUE(core::Controls.MoveRight);             // the wall holds the intent
  Set(10, 5, 0);
  world::UpdatePlayer();
  EXPECT_GT(world::Player.X, last);

  // Off the ice the slide ends.
  EmptyShaft();
  Floor(6, 2, 5, 4);
  Floor(6, 6, 12, 1);
  PlaceCreature(3, 5);
  core::Controls = core::ControlState{};
  core::Controls.MoveRight = true;
  for (int i = 0; i < 100 && core::Controls.MoveRight; ++i) world::UpdatePlayer();
  EXPECT_FALSE(core::Controls.MoveRight);
  EXPECT_LT(world::Player.X, 7.0f * 32.0f);
}

TEST_F(PlayerMove, AWallHoldsTheIntentUntilItIsGone) {
  OnFloor(1);
  Set(4, 5, 1);
  core::Controls = core::ControlState{};
  core::Controls.MoveLeft = true;
  world::UpdatePlayer();
  world::UpdatePlayer();
  EXPECT_FLOAT_EQ(world::Player.X, 160.0f);
  EXPECT_TRUE(core::Controls.MoveLeft);
  Set(4, 5, 0);
  world::UpdatePlayer();
  EXPECT_FLOAT_EQ(world::Player.X, 158.0f);
  EXPECT_FALSE(core::Controls.MoveLeft);
}

TEST_F(PlayerMove, LandingBouncesPlainAndOffGum) {
  OnFloor(world::kStone);
  world::Player.Airborne = true;
  world::Player.VelocityY = 2.0f;
  world::UpdatePlayer();
  EXPECT_FLOAT_EQ(world::Player.VelocityY, -0.5f);  // divided by BounceFrom_Everything_DEVIDER
  EXPECT_FLOAT_EQ(world::Player.Y, 160.0f);          // snapped back onto the floor
  EXPECT_FALSE(world::Player.Airborne);

  OnFloor(3);  // gum
  world::Player.VelocityY = 2.0f;
  world::UpdatePlayer();
  EXPECT_FLOAT_EQ(world::Player.VelocityY, -1.0f);  // / (20 / 10)
  EXPECT_FLOAT_EQ(world::Player.Y, 159.0f);
  EXPECT_EQ(Get(5, 6), 3);  // too slow to knock the gum loose
  int gumFlecks = 0;
  for (const auto& p : world::Particles) gumFlecks += (p.Life > 0 && p.Kind == world::kParticleGum) ? 1 : 0;
  EXPECT_EQ(gumFlecks, 6);
}

TEST_F(PlayerMove, GumFlecksTakeEachOffsetFromX) {
  // Near x = 0 the Single sums X + 14 and (X + 22) - 8 differ in their last
  // bit; the flecks sit at X + 22, X + 18, X + 14 and X - 5, X - 9, X - 13.
  OnFloor(3);
  Floor(6, 0, 1, 3);
  PlaceCreature(0, 5);
  const Single x = 0x1.200002p-18f;
  world::Player.X = world::Player.PrevX = x;
  world::Player.VelocityY = 2.0f;
  world::ClearEffects();
  world::UpdatePlayer();
  std::vector<Single> xs;
  for (const auto& p : world::Particles) {
    if (p.Life > 0 && p.Kind == world::kParticleGum) xs.push_back(p.X);
  }
  const std::vector<Single> expected = {x + 22.0f + 80.0f, x + 18.0f + 80.0f, x + 14.0f + 80.0f,
                                        x - 5.0f + 80.0f,  x - 9.0f + 80.0f,  x - 13.0f + 80.0f};
  EXPECT_EQ(xs, expected);
}

TEST_F(PlayerMove, LandingsSmashGlassOrKnockTilesLoose) {
  OnFloor(world::kGlass);
  world::Player.VelocityY = 6.0f;  // at least Smash_Glass_ForceNeeded
  world::UpdatePlayer();
  EXPECT_EQ(Get(5, 6), 0);
  EXPECT_TRUE(world::SmashDebrisList[0].Active);
  EXPECT_TRUE(world::Player.GlassHit);
  EXPECT_FLOAT_EQ(world::Player.VelocityY, 3.0f);  // slowed, not bounced

  OnFloor(world::kGlass);
  world::Player.VelocityY = 3.0f;  // slower: the glass is knocked loose
  world::UpdatePlayer();
  EXPECT_EQ(Get(5, 6), 0);
  EXPECT_TRUE(world::FallingTiles[0].Active);
  EXPECT_FALSE(world::SmashDebrisList[0].Active);

  OnFloor(1);
  world::Player.VelocityY = 3.5f;  // between Hit_PushOnForce and Hit_SmashOnForce
  world::UpdatePlayer();
  EXPECT_EQ(Get(5, 6), 0);
  EXPECT_TRUE(world::FallingTiles[0].Active);
}

TEST_F(PlayerMove, StandingStillChangesNothing) {
  OnFloor(1);
  world::Player.VelocityY = -0.25f;  // what is left after the last small bounce
  core::Controls = core::ControlState{};
  for (int i = 0; i < 200; ++i) {
    world::UpdatePlayer();
    world::UpdateTiles();
  }
  EXPECT_FLOAT_EQ(world::Player.X, 160.0f);
  EXPECT_FLOAT_EQ(world::Player.Y, 160.0f);
  EXPECT_FALSE(world::Player.Airborne);
  for (int col = 2; col <= 12; ++col) EXPECT_EQ(Get(col, 6), 1);
  EXPECT_FALSE(core::GameOver);
}

TEST_F(PlayerMove, ZeroDivisorsNeverMakeInfiniteSpeeds) {
  const std::string text = WithValues(BasicTuning(), {{"WalkSpeed_Mud_DEVIDER", "0"},
                                                      {"SlowDown_AfterHit_Ice_DEVIDER", "0"},
                                                      {"BounceFrom_Everything_DEVIDER", "0"},
                                                      {"BounceFrom_Gum_DEVIDER", "0"}});
  for (Integer floor : {Integer{1}, Integer{2}, Integer{3}, world::kGlass}) {
    OnFloor(floor, text);
    world::Player.VelocityY = 1.0f;
    core::Controls = core::ControlState{};
    core::Controls.MoveRight = true;
    world::UpdatePlayer();
    EXPECT_TRUE(std::isfinite(world::Player.VelocityY)) << floor;
    EXPECT_TRUE(std::isfinite(world::Player.X)) << floor;
    // The value passes undivided.
    EXPECT_FLOAT_EQ(std::fabs(world::Player.VelocityY), 1.0f) << floor;
    EXPECT_FLOAT_EQ(world::Player.X, 162.0f) << floor;
  }
}

TEST_F(PlayerMove, TheDrillsOrTheBottomEndTheGame) {
  OnFloor(1);
  world::DrillY = 128.0f;  // tip exactly at the creature's top: not caught
  world::UpdatePlayer();
  EXPECT_FALSE(core::GameOver);
  world::DrillY = 128.5f;
  world::UpdatePlayer();
  EXPECT_TRUE(core::GameOver);
  EXPECT_FALSE(world::GameWon);
  // Once over, the creature no longer moves.
  core::Controls.MoveRight = true;
  world::UpdatePlayer();
  EXPECT_FLOAT_EQ(world::Player.X, 160.0f);

  EmptyShaft();
  PlaceCreature(5, 14);
  world::Player.Y = 479.0f;
  world::Player.VelocityY = 5.0f;
  world::UpdatePlayer();
  EXPECT_TRUE(world::Player.InWater);  // passed the water line on the way
  EXPECT_TRUE(core::GameOver);
  Single disturbed = 0;
  for (Single w : world::WaterWave) disturbed += w;
  EXPECT_GT(disturbed, 0.0f);
}

TEST_F(PlayerMove, ReachingTheBottomRowsWins) {
  EmptyShaft();
  core::ScrollY = -(1047.0f * 32.0f - 200.0f);
  PlaceCreature(5, 1046);
  Set(5, 1047, world::kStone);
  Set(4, 1047, world::kStone);
  world::UpdatePlayer();
  EXPECT_FALSE(core::GameOver);
  EmptyShaft();
  core::ScrollY = -(1047.0f * 32.0f - 200.0f);
  PlaceCreature(5, 1047);
  world::Player.VelocityY = 3.0f;  // even while falling
  world::UpdatePlayer();
  EXPECT_TRUE(world::GameWon);
  EXPECT_TRUE(core::GameOver);
}

TEST_F(PlayerMove, EndGameHandsOverToTheEndOfGame) {
  EmptyShaft();
  config::HighScores[9].Score = 100;
  world::LastName = "ANNA";
  world::Score = 50.5f;
  world::ComboMultiplier = 3;
  world::EndGame();
  EXPECT_TRUE(core::GameOver);
  EXPECT_TRUE(world::EndReady);  // no name needed
  EXPECT_FLOAT_EQ(world::EndFade, 100.0f);
  EXPECT_EQ(world::TypedName, "ANNA");
  EXPECT_EQ(world::LastGameScore, 50);  // half to even
  EXPECT_FLOAT_EQ(world::ComboMultiplier, 1.0f);

  world::EndFade = 0;
  world::Score = 100;
  world::EndGame();
  EXPECT_FALSE(world::EndReady);  // equal to the tenth entry: name entry
  EXPECT_FLOAT_EQ(world::EndFade, 0.0f);
  EXPECT_EQ(world::LastGameScore, 100);

  world::ReplayPlayback = true;
  world::Score = 7;
  world::EndGame();
  EXPECT_EQ(world::LastGameScore, 100);  // a played-back game leaves it
}

TEST_F(PlayerMove, FallingTilesPushTheCreature) {
  OnFloor(world::kStone);
  world::FallingTiles[0] = world::FallingTile{true, 160.0f, 140.0f, 3.0f, 1.0f, false, false};
  world::UpdatePlayer();
  EXPECT_FLOAT_EQ(world::FallingTiles[0].Y, 138.0f);
  EXPECT_FLOAT_EQ(world::FallingTiles[0].VelocityY, 1.0f);
  EXPECT_TRUE(world::FallingTiles[0].Touched);
  EXPECT_FLOAT_EQ(world::Player.VelocityY, 1.0f);  // 0 + 3 / 3
}

}  // namespace
}  // namespace tw::testing
