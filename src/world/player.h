// The creature: position, motion and the end of a game.
#pragma once

#include "core/numeric.h"

namespace tw::world {

struct PlayerState {
  Single X = 0;
  Single Y = 0;
};

extern PlayerState Player;

void UpdatePlayer();
void EndGame();

}  // namespace tw::world
