// The run's one random generator. Seeded once at start-up, from the clock or
// from --seed, so a seeded headless run is fully reproducible.
#pragma once

#include <cstdint>

#include "core/numeric.h"

namespace tw::core {

void SeedRandom(std::uint64_t seed);
// Uniform in [0, 1), with the precision of a Single.
Single Rnd();
// A whole number drawn uniformly from lowest to highest, both included.
std::int32_t RandomWhole(std::int32_t lowest, std::int32_t highest);

}  // namespace tw::core
