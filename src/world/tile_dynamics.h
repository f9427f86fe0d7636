// Tiles knocked loose, falling, landing and smashing; bombs.
#pragma once

namespace tw::world {

// One pass over the whole grid: falling tiles and debris.
void UpdateTiles();

}  // namespace tw::world
