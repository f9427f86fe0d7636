// Where bonuses are placed, and that placement always ends.
#include "world_fixture.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

#include "world/bonus_placement.h"

namespace tw::testing {
namespace {

using BonusPlacement = WorldTest;

TEST_F(BonusPlacement, SpotsLieOnSomethingSolidAndAreNeverShared) {
  for (bool story : {false, true}) {
    StartGame(story, WithValues(BasicTuning(), {{"NumOf_Pie", "300"}}));
    ASSERT_EQ(world::Bonuses.size(), 309u);
    std::set<std::pair<int, int>> cells;
    for (std::size_t i = 1; i < world::Bonuses.size(); ++i) {
      const auto& b = world::Bonuses[i];
      ASSERT_TRUE(b.Active) << i;
      const int col = static_cast<int>(b.X) / 32;
      const int row = static_cast<int>(b.Y) / 32;
      // On a cell's corner, never in a wall, below the top rows, on a tile and not inside one.
      EXPECT_EQ(std::tuple(b.X, b.Y), std::tuple(static_cast<Single>(col * 32), static_cast<Single>(row * 32)));
      EXPECT_TRUE(col >= 1 && col <= 13 && row >= 10 && row < 1050) << col << "," << row;
      EXPECT_TRUE(Get(col, row) == 0 && Get(col, row + 1) > 0) << col << "," << row;
      EXPECT_TRUE(cells.insert({col, row}).second) << "shared";
    }
  }
}

TEST_F(BonusPlacement, NoCountsOrNoRoomPlaceNothing) {
  StartGame(false, WithValues(BasicTuning(), {{"NumOf_BigEars", "0"}, {"NumOf_Bomb", "0"}, {"NumOf_BombGlass", "0"},
                                              {"NumOf_Boots", "0"}, {"NumOf_Pie", "0"}}));
  EXPECT_EQ(world::Bonuses.size(), 1u);
  EXPECT_FALSE(world::PlaceBonus(world::kBonusPie));  // no free entry
  // A ten-row shaft: bonuses may only use row 10, the stone floor, so placement
  // ends with every entry inactive; a negative count places nothing.
  StartGame(false, WithValues(BasicTuning(), {{"NumOf_Pie", "-5"}}) +
                       LevelSection(3, 1, [](int n) { return n <= 2 ? "5" : "0"; }, "green"));
  ASSERT_EQ(world::Bonuses.size(), 9u);
  for (const auto& bonus : world::Bonuses) EXPECT_FALSE(bonus.Active);
}

TEST_F(BonusPlacement, HugeCountsFillTheRoomThereIsAndStop) {
  // Far more bonuses than spots (this took minutes): placing stops at the
  // first search that fails and every later entry stays inactive.
  const std::string most = "32767";
  StartGame(false, WithValues(BasicTuning(), {{"NumOf_BigEars", most}, {"NumOf_Bomb", most}, {"NumOf_BombGlass", most},
                                              {"NumOf_Boots", most}, {"NumOf_Pie", most}}));
  const auto& b = world::Bonuses;
  ASSERT_EQ(b.size(), 5u * 32767u + 1u);
  const auto inactive = [](const world::Bonus& x) { return !x.Active; };
  const auto rest = std::find_if(b.begin() + 1, b.end(), inactive);
  EXPECT_GT(rest - b.begin(), 1000);
  EXPECT_TRUE(std::all_of(rest, b.end(), inactive));
}

}  // namespace
}  // namespace tw::testing
