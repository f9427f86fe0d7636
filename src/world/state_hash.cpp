#include "world/state_hash.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "core/game_state.h"
#include "core/random.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/grid.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_dynamics.h"

namespace tw::world {

namespace {

// The bytes the hash reads besides the grid, in the order it reads them.
class Bytes {
 public:
  explicit Bytes(std::vector<unsigned char>& out) : out_(out) { out_.clear(); }
  template <typename T>
  void Add(const T& value) {
    static_assert(std::is_arithmetic_v<T>);
    unsigned char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    out_.insert(out_.end(), raw, raw + sizeof value);
  }
  void Add(const std::string& text) {
    Add(static_cast<std::uint32_t>(text.size()));
    out_.insert(out_.end(), text.begin(), text.end());
  }

 private:
  std::vector<unsigned char>& out_;
};

void CopyRest(std::vector<unsigned char>& out) {
  Bytes h(out);
  for (const FallingTile& t : FallingTiles) {
    h.Add(t.Active);
    if (!t.Active) continue;
    h.Add(t.X), h.Add(t.Y), h.Add(t.VelocityY), h.Add(t.TileType), h.Add(t.Splashed), h.Add(t.Touched);
  }
  for (const SmashDebris& d : SmashDebrisList) {
    h.Add(d.Active);
    if (!d.Active) continue;
    h.Add(d.X), h.Add(d.Y), h.Add(d.Age), h.Add(d.TileType), h.Add(d.Touched);
  }
  const PlayerState& p = Player;
  h.Add(p.X), h.Add(p.Y), h.Add(p.VelocityY), h.Add(p.Weight), h.Add(p.Airborne), h.Add(p.OnIce);
  h.Add(p.InWater), h.Add(p.PrevX);
  h.Add(static_cast<std::uint32_t>(Bonuses.size()));
  for (const Bonus& b : Bonuses) {
    h.Add(b.Active);
    if (!b.Active) continue;
    h.Add(b.Type), h.Add(b.X), h.Add(b.Y), h.Add(b.Points), h.Add(b.Weight), h.Add(b.AddForce);
  }
  h.Add(Bombs), h.Add(BootTime), h.Add(EarsTime), h.Add(GlassBombPending);
  h.Add(DrillY), h.Add(WaterY), h.Add(WaterFixedY);
  for (const Single w : WaterWave) h.Add(w);
  h.Add(Score), h.Add(StayAliveTotal), h.Add(FallPoints), h.Add(ComboCount), h.Add(ComboMultiplier);
  h.Add(core::ScrollY), h.Add(core::CurrentLevel), h.Add(core::GameOver), h.Add(GameWon);
  for (const std::uint64_t word : core::RandomState()) h.Add(word);
  h.Add(core::GameSeed());
}

// Each cell's tile then its touched flag, column by column, fed to the hash
// a block at a time (one update per field would cost a hundred times more).
std::uint64_t Digest(const TileGridLayers& grid, const std::vector<unsigned char>& rest) {
  XXH3_state_t state;
  XXH3_64bits_reset(&state);
  constexpr std::size_t kCell = sizeof(Integer) + sizeof(bool);
  constexpr std::size_t kRowsPerBlock = 512;
  unsigned char block[kRowsPerBlock * kCell];
  for (std::size_t col = 0; col < static_cast<std::size_t>(kGridColumns); ++col) {
    for (std::size_t row = 0; row < static_cast<std::size_t>(kGridRows);) {
      const std::size_t n = std::min(kRowsPerBlock, static_cast<std::size_t>(kGridRows) - row);
      unsigned char* at = block;
      for (std::size_t i = 0; i < n; ++i, at += kCell) {
        std::memcpy(at, &grid.Tile[col][row + i], sizeof(Integer));
        std::memcpy(at + sizeof(Integer), &grid.Touched[col][row + i], sizeof(bool));
      }
      XXH3_64bits_update(&state, block, n * kCell);
      row += n;
    }
  }
  XXH3_64bits_update(&state, rest.data(), rest.size());
  return XXH3_64bits_digest(&state);
}

std::vector<unsigned char> g_rest;

}  // namespace

void CopyState(StateCopy& out) {
  out.grid = TileGrid;
  CopyRest(out.rest);
}

std::uint64_t HashOf(const StateCopy& copy) { return Digest(copy.grid, copy.rest); }

std::uint64_t StateHash() {
  CopyRest(g_rest);
  return Digest(TileGrid, g_rest);
}

std::string StateHashText(std::uint64_t hash) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(hash));
  return buf;
}

}  // namespace tw::world
