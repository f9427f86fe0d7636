// Hits, falling glass, debris and bombs. Chains of
// falling tiles, glass landings and the player's blast are played through in
// the golden runs.
#include "world_fixture.h"

#include <tuple>

namespace tw::testing {
namespace {

class TileDynamics : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    EmptyShaft();
  }
  template <typename Pool>
  static int Active(const Pool& pool) {
    return static_cast<int>(std::count_if(pool.begin(), pool.end(), [](const auto& x) { return x.Active; }));
  }
  static void RunTiles(int maxSteps) {
    for (int i = 0; i < maxSteps && Active(world::FallingTiles) > 0; ++i) world::UpdateTiles();
  }
};

TEST_F(TileDynamics, HitsPushOrSmashByForceAndMaterial) {
  // Push above Hit_PushOnForce (3), smash from Hit_SmashOnForce (7); stone and
  // walls hold, though a wall can be knocked loose; the drills (forceAll)
  // break everything; nothing is hit beyond the right wall.
  struct Case {
    Integer cell;
    Single force;
    bool scoring, all;
    Integer after;
    int falling, debris;
    Single points;
  };
  for (const Case& c : {Case{1, 3.0f, true, false, 1, 0, 0, 0}, Case{1, 4.5f, true, false, 0, 1, 0, 5},
                        Case{9, 7.0f, true, false, 0, 0, 1, 10}, Case{1, 50.0f, false, false, 0, 0, 1, 0},
                        Case{world::kStone, 20.0f, true, false, world::kStone, 0, 0, 0},
                        Case{world::kWallMetal, 20.0f, true, false, world::kWallMetal, 0, 0, 0},
                        Case{world::kWallMetal, 5.0f, true, false, 0, 1, 0, 5},
                        Case{world::kStone, 7.0f, false, true, 0, 0, 1, 0}, Case{62, 7.0f, false, true, 0, 0, 1, 0}}) {
    EmptyShaft();
    for (auto& d : world::SmashDebrisList) d = world::SmashDebris{};  // a new game leaves debris flying
    Set(4, 8, c.cell);
    Set(15, 8, 1);
    world::HitTile(4, 8, c.force, c.scoring, c.all);
    world::HitTile(15, 8, 50.0f, true, true);
    EXPECT_EQ(std::tuple(Get(4, 8), Active(world::FallingTiles), Active(world::SmashDebrisList), world::Score, Get(15, 8)),
              std::tuple(c.after, c.falling, c.debris, c.points, 1)) << c.cell << " at " << c.force;
  }
  // With both lists full the hit is dropped.
  Set(3, 8, 1);
  for (auto& t : world::FallingTiles) t.Active = true;
  for (auto& d : world::SmashDebrisList) d.Active = true;
  world::HitTile(3, 8, 5.0f, true, false);
  world::HitTile(3, 8, 9.0f, true, false);
  EXPECT_EQ(std::tuple(Get(3, 8), world::Score), std::tuple(1, 0.0f));
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
  for (const auto& [col, row, v] : {std::tuple{5, 2, Integer{1}}, {5, 12, world::kStone}, {4, 11, 1}, {6, 10, 1}, {9, 2, 1},
                                    {9, 12, world::kStone}, {12, 2, 1}, {12, 12, world::kStone}, {11, 11, 1}})
    Set(col, row, v);
  for (Single col : {5.0f, 9.0f, 12.0f}) world::HitTile(col, 2, 4.0f, true, false);
  RunTiles(400);
  // The collected bomb does not go off again: the tile simply rests there.
  EXPECT_EQ(std::tuple(world::ExplosionEffects[1].Active, Get(12, 11), Get(11, 11), world::Bonuses[1].Active),
            std::tuple(false, 1, 1, false));
  EXPECT_EQ(std::tuple(world::Bonuses[1].Type, world::ExplosionEffects[0].Active, Get(4, 11), Get(6, 10)),
            std::tuple("", true, 0, 0));
  EXPECT_EQ(std::tuple(Get(5, 11), Get(5, 12)), std::tuple(0, world::kStone));  // the tile itself went with the blast
  // The pie is crushed; the tile rests on its spot.
  EXPECT_EQ(std::tuple(world::Bonuses[2].Active, world::Bonuses[2].Type, Get(9, 11)), std::tuple(false, "pie", 1));
  // Only the three pushes scored: a bonus bomb's blast earns nothing.
  EXPECT_FLOAT_EQ(world::Score, 15.0f);
}

// The blast itself is played through in the golden runs; its cost is not
// (their creatures are never heavy enough to lose weight to a bomb).
TEST_F(TileDynamics, ThePlayersBombNeedsABombAndLightensOnlyAHeavyCreature) {
  PlaceCreature(5, 5);
  Set(5, 6, 1);
  world::Bombs = 0;
  world::Explode(0);
  EXPECT_EQ(std::tuple(Get(5, 6), world::ExplosionEffects[0].Active, world::Bombs), std::tuple(1, false, 0.0f));
  for (const auto& [weight, after] : {std::pair{5.0f, 4.5f}, {3.5f, 3.5f}}) {
    world::Bombs = 2;
    world::Player.Weight = weight;
    world::Explode(0);
    EXPECT_EQ(std::tuple(world::Bombs, world::Player.Weight), std::tuple(1.0f, after)) << weight;
  }
}

TEST_F(TileDynamics, DebrisRunsOutAndTilesLeavingTheShaftAreDropped) {
  Set(3, 5, 1);
  world::HitTile(3, 5, 9.0f, false, false);
  world::FallingTiles[0] = world::FallingTile{true, 160.0f, 1050.0f * 32.0f + 40.0f, 2.0f, 1.0f, true, true};
  world::UpdateTiles();
  EXPECT_EQ(std::tuple(Active(world::SmashDebrisList), Active(world::FallingTiles)), std::tuple(1, 0));
  for (int i = 0; i < 5; ++i) world::UpdateTiles();  // past Smashing_Explosion_Distance
  EXPECT_EQ(Active(world::SmashDebrisList), 0);
}

}  // namespace
}  // namespace tw::testing
