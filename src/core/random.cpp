#include "core/random.h"

#include <utility>

namespace tw::core {

namespace {

// xoshiro256** seeded through splitmix64: small, fast and the same on every
// platform (the standard library's distributions are not).
std::uint64_t g_state[4] = {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull,
                            0x2545F4914F6CDD1Dull};

std::uint64_t SplitMix(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint32_t g_game_seed = 0;

std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

std::uint64_t Next() {
  const std::uint64_t result = Rotl(g_state[1] * 5, 7) * 9;
  const std::uint64_t t = g_state[1] << 17;
  g_state[2] ^= g_state[0];
  g_state[3] ^= g_state[1];
  g_state[1] ^= g_state[2];
  g_state[0] ^= g_state[3];
  g_state[2] ^= t;
  g_state[3] = Rotl(g_state[3], 45);
  return result;
}

}  // namespace

std::uint32_t ChanceFrame = 0;
bool PlaybackHasGameSeed = false;

void SeedRandom(std::uint64_t seed) {
  std::uint64_t x = seed;
  for (auto& s : g_state) s = SplitMix(x);
}

std::array<std::uint64_t, 4> RandomState() { return {g_state[0], g_state[1], g_state[2], g_state[3]}; }

Single Rnd() {
  // 24 random bits scaled by 2^-24: exactly representable, never 1.0.
  return static_cast<Single>(Next() >> 40) * (1.0f / 16777216.0f);
}

std::int32_t RandomWhole(std::int32_t lowest, std::int32_t highest) {
  if (highest < lowest) std::swap(lowest, highest);
  const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(highest) - lowest) + 1;
  // Rejection sampling keeps the draw uniform for any span.
  const std::uint64_t limit = UINT64_MAX - (UINT64_MAX % span);
  std::uint64_t r = Next();
  while (r >= limit) r = Next();
  return static_cast<std::int32_t>(static_cast<std::int64_t>(lowest) + static_cast<std::int64_t>(r % span));
}

std::uint32_t RandomSeedWord() { return static_cast<std::uint32_t>(Next() >> 32); }

void BeginGameRandom(std::uint32_t seed) {
  g_game_seed = seed;
  SeedRandom(seed);
}

std::uint32_t GameSeed() { return g_game_seed; }

Single GameChance(int column) {
  std::uint64_t x = (static_cast<std::uint64_t>(g_game_seed) << 32) | ChanceFrame;
  x = SplitMix(x) ^ static_cast<std::uint64_t>(static_cast<std::uint32_t>(column));
  return static_cast<Single>(SplitMix(x) >> 40) * (1.0f / 16777216.0f);
}

}  // namespace tw::core
