// Filling the shaft for a new game from the level table and material weights.
#pragma once

namespace tw::world {

void GenerateShaft();

}  // namespace tw::world
