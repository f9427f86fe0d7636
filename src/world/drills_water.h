// The sharp drills lowering from the top, and the water at the bottom.
#pragma once

#include "core/numeric.h"

namespace tw::world {

// World y of the drills' tip.
extern Single DrillY;

}  // namespace tw::world
