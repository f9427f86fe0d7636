#include "config/tuning.h"

namespace tw::config {

std::array<LevelSpec, 32> Levels{};
GameTuning Tuning{};

// Placeholder until the new-game set-up lands.
void StartNewGame(bool& /*readFile*/) {}

}  // namespace tw::config
