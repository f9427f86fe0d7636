// Bonuses in play: pickups, the drills destroying bonuses, the timers and the
// glass bomb.
#include "world_fixture.h"

#include <string>
#include <tuple>

namespace tw::testing {
namespace {

class BonusesInPlay : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    EmptyShaft();
    core::CurrentLevel = 1;  // popups appear from the first level on
    world::DrillY = -100;    // tip far above everything
    PlaceCreature(3, 10);
  }
  // Adds a bonus with its top-left at world (x, y); returns its index.
  static std::size_t AddBonus(const std::string& kind, Single x, Single y, Single points = 20, Single weight = 0.5f) {
    world::Bonuses.push_back(world::Bonus{true, kind, x, y, points, weight, 0.0f, 100});
    return world::Bonuses.size() - 1;
  }
};

TEST_F(BonusesInPlay, PickupNeedsOverlapNotJustTouchingEdges) {
  const Single px = world::Player.X, py = world::Player.Y;
  // Edge to edge on each of the four sides: nothing happens.
  const std::size_t right = AddBonus("pie", px + 32, py), left = AddBonus("pie", px - 32, py);
  AddBonus("pie", px, py + 32);
  AddBonus("pie", px, py - 32);
  world::UpdateBonuses();
  EXPECT_FLOAT_EQ(world::Score, 0.0f);

  // One pixel of overlap is a pickup.
  world::Bonuses[right].X = px + 31;
  ListenToSounds();
  const Single weight = world::Player.Weight;
  world::UpdateBonuses();
  EXPECT_EQ(std::tuple(world::Bonuses[right].Active, world::Bonuses[left].Active, world::Score, world::Player.Weight),
            std::tuple(false, true, 20.0f, weight + 0.5f));
  ASSERT_EQ(PlayedSounds().size(), 1u);
  EXPECT_EQ(PlayedSounds()[0].name, "bonus");
  // The points rise from the bonus's place.
  const auto& popup = world::ScorePopups[1];
  EXPECT_EQ(std::tuple(popup.Active, popup.Text, popup.X), std::tuple(true, "20", px + 31 + 90));
}

TEST_F(BonusesInPlay, EachKindHasItsEffect) {
  const Single px = world::Player.X, py = world::Player.Y;
  const Single bombs = world::Bombs;
  const Single weight = world::Player.Weight;
  AddBonus("bomb", px, py, 100, 0.5f);
  AddBonus("boot", px, py, 15, 0.2f);
  AddBonus("boot", px, py, 15, 0.2f);
  AddBonus("ears", px, py, 12, 0.4f);
  AddBonus("bombglass", px, py, 150, 9.0f);
  world::UpdateBonuses();
  // Two boots add up: 10 s each at 50 frames per second.
  EXPECT_EQ(std::tuple(world::Bombs, world::BootTime, world::EarsTime, world::GlassBombPending),
            std::tuple(bombs + 1, 1000.0f, 400.0f, true));
  EXPECT_FLOAT_EQ(world::Score, 100 + 15 + 15 + 12 + 150);
  // The glass bomb adds no weight.
  EXPECT_NEAR(world::Player.Weight, weight + 0.5f + 0.2f + 0.2f + 0.4f, 1e-5);
}

TEST_F(BonusesInPlay, TheDrillsDestroyBonusesAndSetOffBombsWithoutPoints) {
  // Ordinary tiles round the bomb, so the blast smashes something.
  for (int c = 6; c <= 8; ++c) {
    for (int r = 5; r <= 7; ++r) Set(c, r, 1);
  }
  Set(7, 6, 0);
  const std::size_t bomb = AddBonus("bomb", 7 * 32, 6 * 32);
  const std::size_t pie = AddBonus("pie", 2 * 32, 6 * 32);
  const std::size_t deep = AddBonus("pie", 2 * 32, 9 * 32);
  // The tip (DrillY + 32 - ScrollY) is just below the top of the bonuses in row 6.
  world::DrillY = 6 * 32 - 32 + 1;
  core::ScrollY = 0;
  world::UpdateBonuses();
  EXPECT_FALSE(world::Bonuses[bomb].Active);
  EXPECT_EQ(std::tuple(world::Bonuses[pie].Active, world::Bonuses[deep].Active, world::ExplosionEffects[0].Active),
            std::tuple(false, true, true));
  // Smashed by the blast, no points; the player's own bombs are not used.
  EXPECT_EQ(std::tuple(Get(6, 5), world::Score, world::Bombs), std::tuple(0, 0.0f, 2.0f));

  // The tip exactly level with a bonus's top does not reach it.
  world::DrillY = 9 * 32 - 32;
  world::UpdateBonuses();
  EXPECT_TRUE(world::Bonuses[deep].Active);
}

TEST_F(BonusesInPlay, ABonusTheDrillsTookIsNotPickedUpInTheSamePass) {
  // The tip passes the bonus's top but not yet the creature's, 16 pixels lower.
  const Single px = world::Player.X, py = world::Player.Y;
  for (const char* kind : {"pie", "bomb"}) {
    world::Bonuses.assign(1, world::Bonus{});
    const std::size_t k = AddBonus(kind, px, py - 16, 20);
    world::DrillY = (py - 16) + 1 - 32 + core::ScrollY;
    const Single bombs = world::Bombs;
    ListenToSounds();
    world::UpdateBonuses();
    EXPECT_EQ(std::tuple(world::Bonuses[k].Active, world::Score, world::Bombs), std::tuple(false, 0.0f, bombs)) << kind;
    for (const auto& popup : world::ScorePopups) EXPECT_FALSE(popup.Active) << kind;
    for (const auto& call : PlayedSounds()) EXPECT_NE(call.name, "bonus") << kind;
  }
}

}  // namespace
}  // namespace tw::testing
