#include "world/bonuses.h"

namespace tw::world {

std::vector<Bonus> Bonuses(1);
Single Bombs = 0;
Single BootTime = 0;
Single EarsTime = 0;
bool GlassBombPending = false;
Single BonusSpin = 0;

}  // namespace tw::world
