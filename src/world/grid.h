// The tile shaft: a 21 x 5,001 grid of cell values with a touched flag per
// cell, the table of tile types (material x colour), and the two cell
// operations every other world module goes through.
#pragma once

#include <array>
#include <string>

#include "core/geometry.h"
#include "core/numeric.h"

namespace tw::world {

// The shaft's shape, shared with the tuning reader (it holds levels inside it).
using core::CanvasHeight;
using core::CanvasWidth;
using core::GridLeft;
using core::kEndZoneRows;
using core::kGridColumns;
using core::kGridRows;
using core::kLastGridRow;
using core::TileSize;

// Cell values: 0 empty, 1..50 tile types, above 50 walls and other fixed codes.
inline constexpr Integer kEmpty = 0;
inline constexpr Integer kGlass = 5;
inline constexpr Integer kStone = 6;
inline constexpr Integer kWallMetal = 55;
inline constexpr Integer kWallWood = 52;
inline constexpr Integer kWallBricks = 54;
inline constexpr Integer kWallWoodGrey = 61;
inline constexpr Integer kWallBricksGrey = 62;

// Material codes returned by MaterialOf.
inline constexpr Integer kMatNormal = 1;
inline constexpr Integer kMatMud = 2;
inline constexpr Integer kMatGum = 3;
inline constexpr Integer kMatIce = 4;
inline constexpr Integer kMatGlass = 5;
inline constexpr Integer kMatStone = 6;

struct TileGridLayers {
  std::array<std::array<Integer, kGridRows>, kGridColumns> Tile{};
  // True once the creature has touched the cell (coloured tiles score once).
  std::array<std::array<bool, kGridRows>, kGridColumns> Touched{};
};
extern TileGridLayers TileGrid;

struct TileTypeEntry {
  Long MaterialCode = 0;
  std::string Material;
  std::string Colour;
};
inline constexpr int kTileTypeCount = 51;  // 0..50, entry 0 empty
extern std::array<TileTypeEntry, kTileTypeCount> TileTypes;

// Sentinel for "read only" in TileAt.
inline constexpr Integer kNoWrite = -1;

// Reads (and, given newValue other than -1, writes) the cell at (col, row).
// Columns are tested against 20 before rounding; anything outside the grid
// reads 0 and is never written.
Integer TileAt(Single col, Single row, Integer newValue = kNoWrite);
// Reads the cell's touched flag; with write, first sets it to value (scoring
// the first touch of a coloured tile). Columns 0..19 only.
bool TouchAt(Single col, Single row, bool write, bool value);
Integer MaterialOf(Integer cellValue);
std::string MaterialName(Long code);
Integer FindTileType(int level, std::string materialName, Long code);
void BuildTileTypes();

// Clears the tile layer (the touched layer keeps its values).
void ClearTileLayer();

}  // namespace tw::world
