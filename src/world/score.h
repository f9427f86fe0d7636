// The score: survival, falling speed, knocked and smashed tiles, combos.
#pragma once

#include <string_view>

namespace tw::world {

void ScoreStep(std::string_view sound);

}  // namespace tw::world
