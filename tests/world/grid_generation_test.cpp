// The grid's bounds and the arcade shaft generated from the built-in levels
// (first touches and the story shaft from the shipped files are played
// through in the golden runs).
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
  // A touch is refused in column 20 and past the last row alike.
  EXPECT_FALSE(world::TouchAt(20, 20, true, true) || world::TouchAt(3, 5001, true, true));
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

}  // namespace
}  // namespace tw::testing
