// Tiles knocked loose, falling, landing and smashing; bombs.
#pragma once

#include <array>

#include "core/numeric.h"

namespace tw::world {

struct FallingTile {
  bool Active = false;
  Single X = 0;  // world pixels of the top-left
  Single Y = 0;
  Single VelocityY = 0;  // pixels per world step, positive downwards
  Single TileType = 0;   // the cell value, written back when the tile comes to rest
  bool Splashed = false;
  bool Touched = false;
};
inline constexpr int kFallingTileSlots = 51;
extern std::array<FallingTile, kFallingTileSlots> FallingTiles;

struct SmashDebris {
  bool Active = false;
  Single X = 0;  // world pixels: the smashed cell's top-left + 10
  Single Y = 0;
  Single Age = 0;  // world steps since the smash
  Single TileType = 0;
  bool Touched = false;
};
inline constexpr int kDebrisSlots = 27;
extern std::array<SmashDebris, kDebrisSlots> SmashDebrisList;

// Knocks the tile at (column, row) loose when force lies strictly between the
// push and smash thresholds, smashes it at or above the smash threshold.
void HitTile(Single column, Single row, Single force, bool scoring, bool forceAll);
// One pass over the falling tiles, then the debris.
void UpdateTiles();
// The bomb blast: index 0 is the player's own bomb, k > 0 the bomb bonus k.
void Explode(int bonusIndex);
void ClearFallingTiles();

}  // namespace tw::world
