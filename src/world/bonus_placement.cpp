#include "world/bonus_placement.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "config/tuning.h"
#include "world/bonuses.h"
#include "world/grid.h"
#include "core/random.h"

namespace tw::world {

namespace {

int Count(Integer n) { return std::max<int>(0, n); }  // a negative count places nothing

// One search for spots over the bonus table: the entry to fill next and the
// grid cells already holding a bonus, so that each draw is checked in
// constant time however many bonuses there are. Cells outside the grid can
// never be acceptable (nothing solid lies below them) and are not tracked.
struct Placement {
  std::size_t next = 1;
  std::vector<bool> taken = std::vector<bool>(static_cast<std::size_t>(kGridColumns) * kGridRows, false);

  static bool InGrid(Long col, Long row) { return col >= 0 && col < kGridColumns && row >= 0 && row < kGridRows; }
  static std::size_t At(Long col, Long row) { return static_cast<std::size_t>(col) * kGridRows + static_cast<std::size_t>(row); }
  bool Taken(Long col, Long row) const { return InGrid(col, row) && taken[At(col, row)]; }
  void Take(Single x, Single y) {
    const Single col = x / 32.0f, row = y / 32.0f;
    if (col != std::floor(col) || row != std::floor(row)) return;  // not on a cell: matches no spot
    const Long c = num::CLng(static_cast<double>(col)), r = num::CLng(static_cast<double>(row));
    if (InGrid(c, r)) taken[At(c, r)] = true;
  }

  // The state for the table as it stands: the first inactive entry, and the
  // spots of the entries up to it (the ones a new spot must not share).
  static Placement Of(const std::vector<Bonus>& table) {
    Placement p;
    while (p.next < table.size() && table[p.next].Active) ++p.next;
    for (std::size_t j = 0; j <= p.next && j < table.size(); ++j) p.Take(table[j].X, table[j].Y);
    return p;
  }
};

bool PlaceOne(int kind, Placement& p) {
  const std::size_t i = p.next;
  if (i >= Bonuses.size()) return false;

  // Both draws are Single products (a Double product can floor one lower).
  const Single rows = config::MapHeight - 10.0f;
  for (int attempt = 0; attempt < kBonusPlacementAttempts; ++attempt) {
    const Long col = num::FloorToLong(static_cast<double>(core::Rnd() * 13.0f)) + 1;
    const Long row = num::FloorToLong(static_cast<double>(core::Rnd() * rows)) + 10;
    const Single c = static_cast<Single>(col);
    const Single r = static_cast<Single>(row);
    if (TileAt(c, r) > 0 || TileAt(c, r + 1.0f) < 1) continue;
    if (p.Taken(col, row)) continue;

    const auto& t = config::Tuning;
    Bonus& b = Bonuses[i];
    b.Active = true;
    b.X = c * 32.0f;
    b.Y = r * 32.0f;
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
    p.Take(b.X, b.Y);
    while (p.next < Bonuses.size() && Bonuses[p.next].Active) ++p.next;
    return true;
  }
  return false;  // too few acceptable cells: the entry stays inactive
}

}  // namespace

void PlaceBonuses() {
  const auto& t = config::Tuning;
  const int n = Count(t.NumOf_Bomb) + Count(t.NumOf_BigEars) + Count(t.NumOf_BombGlass) + Count(t.NumOf_Boots) +
                Count(t.NumOf_Pie);
  Bonuses.assign(static_cast<std::size_t>(n) + 1, Bonus{});
  // Once a spot search fails the shaft has no room left worth searching:
  // every further search would spend its whole attempt limit and fail too,
  // so the remaining entries simply stay inactive.
  Placement p = Placement::Of(Bonuses);
  const std::pair<int, Integer> order[] = {{kBonusBomb, t.NumOf_Bomb},
                                           {kBonusPie, t.NumOf_Pie},
                                           {kBonusBoot, t.NumOf_Boots},
                                           {kBonusBombGlass, t.NumOf_BombGlass},
                                           {kBonusEars, t.NumOf_BigEars}};
  for (const auto& [kind, count] : order) {
    for (int i = 0; i < Count(count); ++i) {
      if (!PlaceOne(kind, p)) return;
    }
  }
}

bool PlaceBonus(int kind) {
  Placement p = Placement::Of(Bonuses);
  return PlaceOne(kind, p);
}

}  // namespace tw::world
