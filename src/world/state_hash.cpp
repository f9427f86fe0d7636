#include "world/state_hash.h"

#include <cstdio>
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

class Hasher {
 public:
  Hasher() { XXH3_64bits_reset(&state_); }
  template <typename T>
  void Add(const T& value) {
    static_assert(std::is_arithmetic_v<T>);
    XXH3_64bits_update(&state_, &value, sizeof value);
  }
  void Add(const std::string& text) {
    Add(static_cast<std::uint32_t>(text.size()));
    XXH3_64bits_update(&state_, text.data(), text.size());
  }
  std::uint64_t Digest() const { return XXH3_64bits_digest(&state_); }

 private:
  XXH3_state_t state_{};
};

}  // namespace

std::uint64_t StateHash() {
  Hasher h;
  for (int col = 0; col < kGridColumns; ++col) {
    for (int row = 0; row < kGridRows; ++row) {
      h.Add(TileGrid.Tile[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
      h.Add(TileGrid.Touched[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
    }
  }
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
  return h.Digest();
}

std::string StateHashText(std::uint64_t hash) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(hash));
  return buf;
}

}  // namespace tw::world
