#include "world/score.h"

namespace tw::world {

// Placeholder until scoring lands.
void ScoreStep(std::string_view /*sound*/) {}

}  // namespace tw::world
