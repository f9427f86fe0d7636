// A short fingerprint of the world's whole state, for checking that two runs
// of the same inputs evolve identically (golden runs, a replay's state trail).
#pragma once

#include <cstdint>
#include <string>

namespace tw::world {

// Hashes the grid (tiles and touched flags), the falling tiles and debris,
// the creature, the bonuses and the bonus timers, the drills and the water,
// the score, the scroll and level, the game's end flags and the random
// generator. Field by field, never raw struct bytes: padding would make the
// value differ between builds.
std::uint64_t StateHash();

// The hash as 16 lower-case hex digits.
std::string StateHashText(std::uint64_t hash);

}  // namespace tw::world
