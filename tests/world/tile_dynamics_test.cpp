// Hits, falling tiles, glass, debris and bombs.
#include "world_fixture.h"

#include <set>
#include <tuple>

namespace tw::testing {
namespace {

class TileDynamics : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    EmptyShaft();
  }
  static int ActiveFalling() {
    int n = 0;
    for (const auto& t : world::FallingTiles) n += t.Active ? 1 : 0;
    return n;
  }
  static int ActiveDebris() {
    int n = 0;
    for (const auto& d : world::SmashDebrisList) n += d.Active ? 1 : 0;
    return n;
  }
  static void RunTiles(int maxSteps) {
    for (int i = 0; i < maxSteps && ActiveFalling() > 0; ++i) world::UpdateTiles();
  }
};

TEST_F(TileDynamics, PushAndSmashThresholds) {
  Set(4, 8, 1);
  world::HitTile(4, 8, 3.0f, true, false);  // equal to the push force: nothing
  EXPECT_EQ(std::tuple(Get(4, 8), ActiveFalling()), std::tuple(1, 0));
  world::HitTile(4, 8, 4.5f, true, false);
  const auto& f = world::FallingTiles[0];
  EXPECT_EQ(std::tuple(Get(4, 8), f.Active, f.Y, f.VelocityY, f.TileType, f.Touched),
            std::tuple(0, true, 256.0f, 1.5f, 1.0f, true));  // touched: arcade mode
  EXPECT_FLOAT_EQ(world::Score, 5.0f);

  Set(5, 8, 9);
  world::HitTile(5, 8, 7.0f, true, false);  // equal to the smash force: smashed
  const auto& d = world::SmashDebrisList[0];
  EXPECT_EQ(std::tuple(Get(5, 8), d.Active, d.X, d.Y, d.TileType), std::tuple(0, true, 170.0f, 266.0f, 9.0f));
  EXPECT_FLOAT_EQ(world::Score, 15.0f);

  Set(6, 8, 1);
  world::HitTile(6, 8, 50.0f, false, false);  // no scoring
  EXPECT_EQ(Get(6, 8), 0);
  EXPECT_FLOAT_EQ(world::Score, 15.0f);

  Set(15, 8, 1);  // beyond the right wall: never hit
  world::HitTile(15, 8, 50.0f, true, true);
  EXPECT_EQ(Get(15, 8), 1);
}

TEST_F(TileDynamics, StoneAndSpecialCellsAndFullLists) {
  Set(3, 8, world::kStone);
  Set(4, 8, world::kWallMetal);
  Set(5, 8, 62);
  for (int col : {3, 4, 5}) world::HitTile(static_cast<Single>(col), 8, 20.0f, true, false);
  world::HitTile(3, 8, 5.0f, true, false);
  EXPECT_EQ(std::tuple(Get(3, 8), Get(4, 8), Get(5, 8)), std::tuple(world::kStone, world::kWallMetal, 62));
  EXPECT_EQ(ActiveDebris() + ActiveFalling(), 0);
  // Special cells can be knocked loose, stone cannot.
  world::HitTile(4, 8, 5.0f, true, false);
  EXPECT_EQ(std::tuple(Get(4, 8), ActiveFalling()), std::tuple(0, 1));
  // The drills (forceAll) break everything; an empty cell is not affected.
  for (int col : {3, 5, 6}) world::HitTile(static_cast<Single>(col), 8, 7.0f, false, true);
  EXPECT_EQ(std::tuple(Get(3, 8), Get(5, 8), ActiveDebris()), std::tuple(0, 0, 2));

  // With both lists full the hit is dropped.
  Set(3, 8, 1);
  const Single score = world::Score;
  for (auto& t : world::FallingTiles) t.Active = true;
  for (auto& s : world::SmashDebrisList) s.Active = true;
  world::HitTile(3, 8, 5.0f, true, false);
  world::HitTile(3, 8, 9.0f, true, false);
  EXPECT_EQ(std::tuple(Get(3, 8), world::Score), std::tuple(1, score));
}

TEST_F(TileDynamics, AColumnOfTilesFallsOneAfterAnother) {
  Set(5, 2, 1);
  Set(5, 6, 2);
  Set(5, 10, 7);  // greendark normal
  Set(5, 14, world::kStone);
  world::HitTile(5, 2, 6.0f, true, false);
  RunTiles(600);
  EXPECT_EQ(ActiveFalling(), 0);
  // All three came to rest on the stone. Falling tiles pass through each
  // other, so a tile that follows one it knocked loose may overtake it.
  EXPECT_EQ((std::multiset<Integer>{Get(5, 11), Get(5, 12), Get(5, 13)}), (std::multiset<Integer>{1, 2, 7}));
  EXPECT_EQ(Get(5, 2) + Get(5, 6) + Get(5, 10), 0);
  EXPECT_GE(world::Score, 15.0f);  // at least the three pushes
}

TEST_F(TileDynamics, WithoutContinueFallingTheHittingTileRests) {
  EmptyShaft(false, WithValues(BasicTuning(), {{"Continue_Falling_After_PushingAnotherTile", "False"}}));
  Set(5, 2, 1);
  Set(5, 6, 2);
  Set(5, 14, world::kStone);
  world::HitTile(5, 2, 6.0f, true, false);
  for (int i = 0; i < 200 && Get(5, 6) != 0; ++i) world::UpdateTiles();
  ASSERT_EQ(Get(5, 6), 0);
  EXPECT_EQ(Get(5, 5), 1);  // came to rest in its own cell at once
  RunTiles(300);
  EXPECT_EQ(std::tuple(Get(5, 13), Get(5, 5)), std::tuple(2, 1));
}

TEST_F(TileDynamics, GlassLandings) {
  // A long drop: the landing glass tile is smashed.
  Set(5, 1, world::kGlass);
  Set(5, 12, world::kStone);
  world::HitTile(5, 1, 4.0f, true, false);
  RunTiles(400);
  EXPECT_EQ(std::tuple(Get(5, 11), ActiveDebris(), world::SmashDebrisList[0].TileType), std::tuple(0, 1, 5.0f));

  // A short drop: knocked about a little, then it settles.
  Set(7, 10, world::kGlass);
  Set(7, 12, world::kStone);
  world::HitTile(7, 10, 3.3f, true, false);
  RunTiles(100);
  EXPECT_EQ(std::tuple(ActiveFalling(), Get(7, 11)), std::tuple(0, world::kGlass));

  // A fast tile landing on glass smashes the glass below it.
  Set(9, 1, 1);
  Set(9, 12, world::kGlass);
  Set(9, 13, world::kStone);
  world::HitTile(9, 1, 4.0f, true, false);
  RunTiles(400);
  EXPECT_NE(Get(9, 12), world::kGlass);
}

TEST_F(TileDynamics, ALandingGlassTileEndsThePass) {
  Set(5, 12, world::kStone);
  Set(8, 2, 1);
  auto& glass = world::FallingTiles[0];
  glass = world::FallingTile{true, 160.0f, 352.0f, 1.0f, 5.0f, false, true};
  world::HitTile(8, 2, 4.0f, true, false);  // entry 1, after the glass tile
  ASSERT_TRUE(world::FallingTiles[1].Active);
  const Single before = world::FallingTiles[1].Y;
  world::UpdateTiles();
  EXPECT_FALSE(glass.Active);
  EXPECT_FLOAT_EQ(world::FallingTiles[1].Y, before);  // not moved this step
}

TEST_F(TileDynamics, BombsUnderLandingTilesGoOff) {
  world::Bonuses.assign(4, world::Bonus{});
  world::Bonuses[1] = world::Bonus{true, "bomb", 160.0f, 352.0f, 10.0f, 0.5f, 0.0f, 100};
  world::Bonuses[2] = world::Bonus{true, "pie", 288.0f, 352.0f, 25.0f, 0.3f, 0.0f, 100};
  // A bomb the creature already collected: inactive, but still of its kind.
  world::Bonuses[3] = world::Bonus{false, "bomb", 384.0f, 352.0f, 10.0f, 0.5f, 0.0f, 0};
  Set(5, 2, 1);
  Set(5, 12, world::kStone);
  Set(4, 11, 1);
  Set(6, 10, 1);
  Set(9, 2, 1);
  Set(9, 12, world::kStone);
  Set(12, 2, 1);
  Set(12, 12, world::kStone);
  Set(11, 11, 1);
  world::HitTile(5, 2, 4.0f, true, false);
  world::HitTile(9, 2, 4.0f, true, false);
  world::HitTile(12, 2, 4.0f, true, false);
  RunTiles(400);
  // The collected bomb does not go off again: the tile simply rests there.
  EXPECT_FALSE(world::ExplosionEffects[1].Active);
  EXPECT_EQ(Get(12, 11), 1);
  EXPECT_EQ(Get(11, 11), 1);
  EXPECT_FALSE(world::Bonuses[1].Active);
  EXPECT_EQ(std::tuple(world::Bonuses[1].Type, world::ExplosionEffects[0].Active, Get(4, 11), Get(6, 10)),
            std::tuple("", true, 0, 0));
  EXPECT_EQ(Get(5, 11), 0);  // the tile itself went with the blast
  EXPECT_EQ(Get(5, 12), world::kStone);
  // The pie is crushed; the tile rests on its spot.
  EXPECT_EQ(std::tuple(world::Bonuses[2].Active, world::Bonuses[2].Type, Get(9, 11)), std::tuple(false, "pie", 1));
  // Only the three pushes scored: a bonus bomb's blast earns nothing.
  EXPECT_FLOAT_EQ(world::Score, 15.0f);
}

TEST_F(TileDynamics, ThePlayersBomb) {
  PlaceCreature(5, 5);  // centre cell (5, 5)
  world::Bombs = 0;
  Set(5, 6, 1);
  world::Explode(0);
  EXPECT_EQ(std::tuple(Get(5, 6), world::ExplosionEffects[0].Active), std::tuple(1, false));

  world::Bombs = 2;
  world::Player.Weight = 5.0f;
  Set(4, 4, 1);
  Set(3, 5, 1);  // two columns left: knocked loose
  Set(6, 7, 1);  // below the block: knocked loose
  Set(5, 8, 1);  // out of reach
  world::Explode(0);
  EXPECT_EQ(std::tuple(world::Bombs, world::Player.Weight), std::tuple(1.0f, 4.5f));
  EXPECT_EQ(Get(5, 6) + Get(4, 4) + Get(3, 5) + Get(6, 7), 0);
  EXPECT_EQ(std::tuple(ActiveDebris(), ActiveFalling(), Get(5, 8)), std::tuple(2, 2, 1));
  EXPECT_FLOAT_EQ(world::Score, 2 * 10.0f + 2 * 5.0f);
  EXPECT_FLOAT_EQ(world::ExplosionEffects[0].X, 160.0f - 51.0f);

  // A light creature keeps its weight.
  world::Player.Weight = 3.5f;
  world::Explode(0);
  EXPECT_EQ(std::tuple(world::Bombs, world::Player.Weight), std::tuple(0.0f, 3.5f));
}

TEST_F(TileDynamics, DebrisExpiresOneEntryPerStepAndTilesLeavingTheShaftAreDropped) {
  Set(3, 5, 1);
  Set(4, 5, 1);
  world::HitTile(3, 5, 9.0f, false, false);
  world::HitTile(4, 5, 9.0f, false, false);
  for (int i = 0; i < 5; ++i) world::UpdateTiles();
  EXPECT_EQ(ActiveDebris(), 2);  // age 5: not yet past the distance
  world::UpdateTiles();
  EXPECT_EQ(ActiveDebris(), 1);
  EXPECT_FLOAT_EQ(world::SmashDebrisList[1].Age, 5.0f);  // the pass ended before it
  world::UpdateTiles();
  EXPECT_EQ(ActiveDebris(), 0);

  world::FallingTiles[0] = world::FallingTile{true, 160.0f, 1050.0f * 32.0f + 40.0f, 2.0f, 1.0f, true, true};
  world::UpdateTiles();
  EXPECT_FALSE(world::FallingTiles[0].Active);
}

}  // namespace
}  // namespace tw::testing
