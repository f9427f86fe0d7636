#include "world/grid.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/game_state.h"
#include "config/tuning.h"
#include "world/player.h"
#include "world/score.h"

namespace tw::world {

TileGridLayers TileGrid{};
std::array<TileTypeEntry, kTileTypeCount> TileTypes{};

namespace {

// Rounded grid indices of (col, row), or false when the cell lies outside
// the grid. NaN fails every comparison and is treated as outside.
bool CellIndex(Single col, Single row, std::size_t& c, std::size_t& r) {
  if (!(col >= 0.0f) || !(row >= 0.0f)) return false;
  const Long ci = num::CLng(col);
  const Long ri = num::CLng(row);
  if (ci >= kGridColumns || ri > kLastGridRow) return false;
  c = static_cast<std::size_t>(ci);
  r = static_cast<std::size_t>(ri);
  return true;
}

std::string Lower(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

}  // namespace

Integer TileAt(Single col, Single row, Integer newValue) {
  if (col < 0.0f || row < 0.0f) return 0;
  if (!(col < 20.0f)) return 0;  // tested before rounding: 19.5 reaches column 20
  std::size_t c = 0, r = 0;
  if (!CellIndex(col, row, c, r)) return 0;  // rows past 5000 read 0, never written
  if (newValue != kNoWrite) TileGrid.Tile[c][r] = newValue;
  return TileGrid.Tile[c][r];
}

bool TouchAt(Single col, Single row, bool write, bool value) {
  if (!(col >= 0.0f && col <= 19.0f) || !(row >= 0.0f)) return false;
  std::size_t c = 0, r = 0;
  if (!CellIndex(col, row, c, r)) return false;
  if (write) {
    const Integer v = TileGrid.Tile[c][r];
    if (v >= 1 && v <= 50 && v != kGlass && v != kStone && TileGrid.Touched[c][r] != value) {
      const Single points = static_cast<Single>(std::max(1, core::CurrentLevel / 3));
      ShowScorePopup(Player.X + 10.0f + static_cast<Single>(GridLeft), core::ScrollY + Player.Y,
                     PointsText(points));
      Score += points;
    }
    TileGrid.Touched[c][r] = value;
  }
  return TileGrid.Touched[c][r];
}

Integer MaterialOf(Integer cellValue) {
  if (cellValue > 50) return cellValue;
  if (cellValue < 0) return 0;
  return static_cast<Integer>(TileTypes[static_cast<std::size_t>(cellValue)].MaterialCode);
}

std::string MaterialName(Long code) {
  for (const auto& t : TileTypes) {
    if (t.MaterialCode == code) return t.Material;
  }
  return "0";
}

Integer FindTileType(int level, std::string materialName, Long code) {
  if (code > 0) materialName = MaterialName(code);
  const std::string wanted = Lower(materialName);
  const std::string& colour =
      config::Levels[static_cast<std::size_t>(std::clamp(level, 0, static_cast<int>(config::Levels.size()) - 1))]
          .TileType;
  for (std::size_t i = 0; i < TileTypes.size(); ++i) {
    const auto& t = TileTypes[i];
    if (t.Material == wanted && (t.Colour == colour || t.Colour == "glass" || t.Colour == "stone")) {
      return static_cast<Integer>(i);
    }
  }
  return 0;
}

void BuildTileTypes() {
  static const char* const kMaterials[4] = {"normal", "mud", "gum", "ice"};
  static const char* const kColours[11] = {"greendark", "blue",   "blue2",      "bluedark",
                                           "bluelight", "brown",  "orange",     "orangedark",
                                           "red",       "reddark", "yellow"};
  TileTypes[0] = TileTypeEntry{};
  for (int m = 0; m < 4; ++m) TileTypes[static_cast<std::size_t>(1 + m)] = {m + 1, kMaterials[m], "green"};
  TileTypes[5] = {5, "glass", "glass"};
  TileTypes[6] = {6, "stone", "stone"};
  std::size_t index = 7;
  for (const char* colour : kColours) {
    for (int m = 0; m < 4; ++m) TileTypes[index++] = {m + 1, kMaterials[m], colour};
  }
}

void ClearTileLayer() {
  for (auto& column : TileGrid.Tile) column.fill(0);
}

}  // namespace tw::world
