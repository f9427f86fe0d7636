// The new-game set-up: the world reset, the current mode's tuning file read
// and the shaft generated.
#pragma once

#include "config/tuning.h"

namespace tw::world {

// What the set-up read from the tuning file.
struct NewGameRead {
  config::StartPositionsRead positions;  // the drills' and the water's keys
  bool levels = false;                   // the whole level table
};

// Starts a new game.
NewGameRead StartNewGame();

}  // namespace tw::world
