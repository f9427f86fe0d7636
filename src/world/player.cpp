#include "world/player.h"

namespace tw::world {

PlayerState Player{};

// Placeholders until the player update lands.
void UpdatePlayer() {}
void EndGame() {}

}  // namespace tw::world
