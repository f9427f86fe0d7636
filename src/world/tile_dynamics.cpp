#include "world/tile_dynamics.h"

namespace tw::world {

// Placeholder until tile dynamics land.
void UpdateTiles() {}

}  // namespace tw::world
