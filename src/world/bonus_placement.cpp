#include "world/bonus_placement.h"

#include <algorithm>

#include "config/tuning.h"
#include "world/bonuses.h"
#include "world/grid.h"
#include "core/random.h"

namespace tw::world {

namespace {

int Count(Integer n) { return std::max<int>(0, n); }  // a negative count places nothing

}  // namespace

void PlaceBonuses() {
  const auto& t = config::Tuning;
  const int n = Count(t.NumOf_Bomb) + Count(t.NumOf_BigEars) + Count(t.NumOf_BombGlass) + Count(t.NumOf_Boots) +
                Count(t.NumOf_Pie);
  Bonuses.assign(static_cast<std::size_t>(n) + 1, Bonus{});
  for (int i = 0; i < Count(t.NumOf_Bomb); ++i) PlaceBonus(kBonusBomb);
  for (int i = 0; i < Count(t.NumOf_Pie); ++i) PlaceBonus(kBonusPie);
  for (int i = 0; i < Count(t.NumOf_Boots); ++i) PlaceBonus(kBonusBoot);
  for (int i = 0; i < Count(t.NumOf_BombGlass); ++i) PlaceBonus(kBonusBombGlass);
  for (int i = 0; i < Count(t.NumOf_BigEars); ++i) PlaceBonus(kBonusEars);
}

bool PlaceBonus(int kind) {
  std::size_t i = 1;
  while (i < Bonuses.size() && Bonuses[i].Active) ++i;
  if (i >= Bonuses.size()) return false;

  // Both draws are Single products (a Double product can floor one lower).
  const Single rows = config::MapHeight - 10.0f;
  for (int attempt = 0; attempt < kBonusPlacementAttempts; ++attempt) {
    const Long col = num::FloorToLong(static_cast<double>(core::Rnd() * 13.0f)) + 1;
    const Long row = num::FloorToLong(static_cast<double>(core::Rnd() * rows)) + 10;
    const Single c = static_cast<Single>(col);
    const Single r = static_cast<Single>(row);
    if (TileAt(c, r) > 0 || TileAt(c, r + 1.0f) < 1) continue;
    const Single x = c * 32.0f;
    const Single y = r * 32.0f;
    bool shared = false;
    for (std::size_t j = 0; j <= i; ++j) {
      if (Bonuses[j].X == x && Bonuses[j].Y == y) {
        shared = true;
        break;
      }
    }
    if (shared) continue;

    const auto& t = config::Tuning;
    Bonus& b = Bonuses[i];
    b.Active = true;
    b.X = x;
    b.Y = y;
    b.AddForce = 0;
    b.SelectionAlpha = 100;
    switch (kind) {
      case kBonusBomb: b.Type = "bomb"; b.Weight = t.Bomb_Weight; b.Points = t.Bonus_Bomb_Points; break;
      case kBonusPie: b.Type = "pie"; b.Weight = t.Pie_Weight; b.Points = t.Bonus_Pie_Points; break;
      case kBonusBoot: b.Type = "boot"; b.Weight = t.Boot_Weight; b.Points = t.Bonus_Boot_Points; break;
      case kBonusBombGlass: b.Type = "bombglass"; b.Points = t.Bonus_BombGlass_Points; break;
      case kBonusEars: b.Type = "ears"; b.Weight = t.Ears_Weight; b.Points = t.Bonus_Ears_Points; break;
      default: break;
    }
    return true;
  }
  return false;  // too few acceptable cells: the entry stays inactive
}

}  // namespace tw::world
