// The run's one random generator. Seeded once at start-up, from the clock or
// from --seed, so a seeded headless run is fully reproducible.
#pragma once

#include <array>
#include <cstdint>

#include "core/numeric.h"

namespace tw::core {

void SeedRandom(std::uint64_t seed);
// Uniform in [0, 1), with the precision of a Single.
Single Rnd();
// A whole number drawn uniformly from lowest to highest, both included.
std::int32_t RandomWhole(std::int32_t lowest, std::int32_t highest);
// The generator's whole state, for fingerprints of a run (never to draw from).
std::array<std::uint64_t, 4> RandomState();
// 32 random bits, for a game's own seed.
std::uint32_t RandomSeedWord();

// Every game has a seed of its own. Starting a game from it re-seeds the
// generator, so the shaft and the bonuses follow from the seed; and a chance
// that changes the world during play is not drawn from the generator (whose
// draws shift with pauses and drawing) but derived from the seed, the game
// frame and the column, so a replay that carries the seed meets the same
// outcomes in the same frames.
void BeginGameRandom(std::uint32_t seed);
std::uint32_t GameSeed();
// The frame of the running game the chances belong to; the replay controller
// sets it in every world step.
extern std::uint32_t ChanceFrame;
// Uniform in [0, 1), with the precision of a Single: a pure function of the
// game seed, ChanceFrame and the column.
Single GameChance(int column);
// The game being played back carries its seed, so its chances are replayed
// (a replay without one ignores them).
extern bool PlaybackHasGameSeed;

}  // namespace tw::core
