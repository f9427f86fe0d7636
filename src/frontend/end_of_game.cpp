#include "frontend/end_of_game.h"

namespace tw::frontend {

// Placeholder until the end-of-game handling lands.
void EndOfGameCheck() {}

}  // namespace tw::frontend
