#include "world/drills_water.h"

namespace tw::world {

Single DrillY = 0;

}  // namespace tw::world
