// Game tuning: every number that shapes play, read from the mode's tuning
// file at each new game, and the ten-level table.
#pragma once

#include <array>
#include <string>

#include "core/numeric.h"

namespace tw::config {

struct LevelSpec {
  Integer PlatformSize = 0;
  Single ScreenSpeed = 0;
  Integer OnEachPlatformSkipLines = 0;
  Integer LevelSize = 0;
  std::string TileType;
};

// Rows 1..10 are the levels, row 11 the end zone; row 0 and 12..31 stay zero.
extern std::array<LevelSpec, 32> Levels;

struct GameTuning {
  // Section "Sharp drills".
  Single Speed_of_Lowering = 0;
};

extern GameTuning Tuning;

// Starts a new game: resets the world, reads the tuning file of the current
// mode and generates the shaft. Does nothing when readFile is false.
void StartNewGame(bool& readFile);

}  // namespace tw::config
