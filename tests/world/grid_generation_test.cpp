// The grid's cell operations and the shaft generated from the built-in levels.
#include "world_fixture.h"

#include <cmath>
#include <tuple>

#include "world/shaft_generator.h"

namespace tw::testing {
namespace {

using Grid = WorldTest;
using Generation = WorldTest;

TEST_F(Grid, TileAtStaysInsideTheGrid) {
  EmptyShaft();
  EXPECT_EQ(world::TileAt(-1, 5, 9) + world::TileAt(5, -0.5f, 9), 0);
  // 19.5 passes the column test and rounds (half to even) to column 20.
  EXPECT_EQ(std::tuple(world::TileAt(19.5f, 7, 12), world::TileGrid.Tile[20][7]), std::tuple(12, 12));
  EXPECT_EQ(world::TileAt(20, 7), 0);  // 20 itself fails the test
  EXPECT_EQ(std::tuple(world::TileAt(18.5f, 8, 13), world::TileGrid.Tile[18][8]), std::tuple(13, 13));
  // The last row is usable; rows past it read 0 and are never written.
  EXPECT_EQ(world::TileAt(3, 5000, 4), 4);
  EXPECT_EQ(world::TileAt(3, 5001, 4) + world::TileAt(3, 1e9f, 4) + world::TileAt(NAN, 3, 4), 0);
  EXPECT_EQ(world::TileAt(3, 5000.4f) + world::TileAt(3, 5000, -1), 8);  // -1 means "read only"
}

TEST_F(Grid, TouchAtScoresTheFirstTouchOfColouredTilesOnly) {
  EmptyShaft();
  for (auto& column : world::TileGrid.Touched) column.fill(false);
  Set(2, 20, 1);                // normal, green
  Set(3, 20, world::kGlass);
  Set(4, 20, world::kStone);
  Set(5, 20, world::kWallMetal);
  core::CurrentLevel = 6;
  world::Score = 0;
  EXPECT_TRUE(world::TouchAt(2, 20, true, true));
  EXPECT_FLOAT_EQ(world::Score, 2.0f);  // 6 div 3
  EXPECT_EQ(std::tuple(world::ScorePopups[1].Active, world::ScorePopups[1].Text), std::tuple(true, "2"));
  for (int col : {2, 3, 4, 5, 6}) world::TouchAt(static_cast<Single>(col), 20, true, true);  // touched, glass, stone, wall, empty
  EXPECT_FLOAT_EQ(world::Score, 2.0f);
  // Columns 20 and above, and rows past the grid, are refused.
  EXPECT_FALSE(world::TouchAt(20, 20, true, true) || world::TouchAt(3, 5001, true, true));

  // Below level 3 a first touch is still worth a point.
  core::CurrentLevel = 0;
  Set(7, 30, 8);
  world::TouchAt(7, 30, true, true);
  EXPECT_FLOAT_EQ(world::Score, 2.0f + 1.0f);
}

TEST_F(Generation, ArcadeShaftFromTheBuiltInLevels) {
  StartGame(/*story=*/false);
  auto rowIs = [](int row, Integer v) {
    for (int col = 1; col <= 13; ++col)
      if (world::TileAt(static_cast<Single>(col), static_cast<Single>(row)) != v) return false;
    return true;
  };
  // Glass rows end each level, from level 4 on only the lower one; stone floors the shaft.
  for (int row : {19, 20, 49, 50, 129, 130, 230, 350, 470, 600, 740, 890}) EXPECT_TRUE(rowIs(row, world::kGlass)) << row;
  for (int row : {229, 349, 469, 889}) EXPECT_FALSE(rowIs(row, world::kGlass)) << row;
  for (int row : {21, 51, 131, 231, 1047, 1051}) EXPECT_TRUE(rowIs(row, 0)) << row;
  for (int row : {1048, 1049, 1050}) EXPECT_TRUE(rowIs(row, world::kStone)) << row;
  // Wall bands change at rows 351 and 701 and end with the shaft.
  for (const auto& [row, wall] : {std::pair{350, 55}, {351, 52}, {701, 54}, {1050, 54}, {1051, 0}})
    EXPECT_EQ(std::tuple(Get(0, row), Get(14, row)), std::tuple(wall, wall)) << row;
  // The starting ledge, and no platforms in the top rows.
  for (int row = 0; row < 10; ++row) {
    for (int col = 1; col <= 13; ++col) {
      const bool ledge = row == 4 && col >= 6 && col <= 8;
      EXPECT_EQ(Get(col, row), ledge ? world::kStone : 0) << col << "," << row;
    }
  }
  // Platform tiles carry level colours and are marked touched in arcade mode.
  int platforms = 0;
  for (int row = 10; row < 19; ++row) {
    for (int col = 1; col <= 13; ++col) {
      const Integer v = Get(col, row);
      if (v == 0) continue;
      ++platforms;  // level 1 is green: types 1..6
      EXPECT_TRUE(v <= 6 && world::TileGrid.Touched[col][row]) << v << " at " << col << "," << row;
    }
  }
  EXPECT_GT(platforms, 0);
  EXPECT_FLOAT_EQ(world::Score, 0.0f);
}

TEST_F(Generation, StoryShaftHasDoubleGlassAndUntouchedPlatforms) {
  // Touched flags left over from an earlier game must not survive generation.
  for (auto& column : world::TileGrid.Touched) column.fill(true);
  StartGame(/*story=*/true);
  for (int row : {229, 230, 349, 350, 739, 740, 889, 890}) {
    for (int col = 1; col <= 13; ++col) EXPECT_EQ(Get(col, row), world::kGlass) << row;
  }
  for (int col : {0, 14}) EXPECT_EQ(std::tuple(Get(col, 400), Get(col, 800)), std::tuple(61, 62)) << col;
  int coloured = 0;
  for (int row = 10; row < 1040; ++row) {
    for (int col = 1; col <= 13; ++col) {
      const Integer v = Get(col, row);
      if (v >= 1 && v <= 50 && v != 5 && v != 6) {
        ++coloured;
        EXPECT_FALSE(world::TileGrid.Touched[col][row]) << col << "," << row;
      }
    }
  }
  EXPECT_GT(coloured, 100);
  EXPECT_FLOAT_EQ(world::Score, 0.0f);  // the touches made while generating do not count
}

}  // namespace
}  // namespace tw::testing
