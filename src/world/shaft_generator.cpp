#include "world/shaft_generator.h"

#include <algorithm>

#include "config/options.h"
#include "config/tuning.h"
#include "world/bonus_placement.h"
#include "world/grid.h"
#include "core/random.h"
#include "world/score.h"

namespace tw::world {

namespace {

const config::LevelSpec& Level(int i) {
  return config::Levels[static_cast<std::size_t>(std::clamp(i, 0, static_cast<int>(config::Levels.size()) - 1))];
}

Single F(Long v) { return static_cast<Single>(v); }

void FillRow(Long row, Integer value) {
  for (Long col = 1; col <= 14; ++col) TileAt(F(col), F(row), value);
}

void Platforms(bool story) {
  const auto& weights = config::Tuning.MapPercentage;
  Long acc = 0;
  Long material = 0;
  for (int L = 1; L <= 11; ++L) {
    acc += Level(L - 1).LevelSize;
    const Long endRow = acc + Level(L).LevelSize;
    Long row = acc + Level(L - 1).OnEachPlatformSkipLines;
    // A negative skip count would never advance; every platform row moves on
    // by at least one row.
    const Long step = std::max<Long>(1, Level(L).OnEachPlatformSkipLines + 1);
    while (row <= endRow) {
      if (row < 10) row = 10;  // no platforms in the top ten rows
      for (int p = 0; p < 3; ++p) {
        const Long width = Level(L).PlatformSize;
        // A Single product, like the bonus draws.
        const Long startCol = num::FloorToLong(static_cast<double>(core::Rnd() * 14.0f));
        Long total = 0;
        for (std::size_t k = 1; k <= 6; ++k) total += weights[k];
        const Long r = num::FloorToLong(static_cast<double>(core::Rnd()) * static_cast<double>(total));
        Long below = 0;
        for (std::size_t k = 1; k <= 6; ++k) {
          if (below <= r && r < below + weights[k]) {
            material = static_cast<Long>(k);
            break;
          }
          below += weights[k];
        }
        const Integer value = FindTileType(L, "", material);
        // Columns past 20 lie outside the grid and are not written.
        const Long lastCol = std::min<Long>(startCol + width - 1, kGridColumns);
        for (Long col = startCol; col <= lastCol; ++col) {
          TileAt(F(col), F(row), value);
          TouchAt(F(col), F(row), true, !story);
        }
      }
      row += step;
    }
  }
}

void LevelBoundaries(bool story) {
  const Long H = num::CLng(static_cast<double>(config::MapHeight));
  Long S4 = 0;
  for (int k = 1; k <= 4; ++k) S4 += Level(k).LevelSize;
  Long prev = 0;  // S_(k-1)
  for (int k = 1; k < static_cast<int>(config::Levels.size()); ++k) {
    if (Level(k).LevelSize == 0 || prev + (k - 1) > H) break;
    const Long S = prev + Level(k).LevelSize;
    if (story || S + k - 1 < S4) {
      for (Long col = 1; col <= 14; ++col) {
        TileAt(F(col), F(S - 1), kGlass);
        if (story) TouchAt(F(col), F(S - 1), true, false);
      }
    }
    for (Long col = 1; col <= 14; ++col) {
      TileAt(F(col), F(S), kGlass);
      // The row above again, as the original does.
      if (story) TouchAt(F(col), F(S - 1), true, false);
    }
    FillRow(S + 1, kEmpty);
    prev = S;
  }
}

void Bottom() {
  Long S = 0;
  for (int k = 1; k <= 10; ++k) S += Level(k).LevelSize;
  FillRow(S - 3, kEmpty);
  FillRow(S - 2, kStone);
  FillRow(S - 1, kStone);
  FillRow(S, kStone);
}

void Walls(bool story) {
  const Long H = num::CLng(static_cast<double>(config::MapHeight));
  const Long t = H / 3;
  const Long last = std::min<Long>(H, kLastGridRow);
  for (Long r = 0; r <= last; ++r) {
    Integer v = 0;
    if (r <= t) {
      v = kWallMetal;
    } else if (r <= 2 * t) {
      v = story ? kWallWoodGrey : kWallWood;
    } else if (r <= 3 * t + 1) {
      v = story ? kWallBricksGrey : kWallBricks;
    } else {
      continue;
    }
    TileAt(0.0f, F(r), v);
    TileAt(14.0f, F(r), v);
  }
}

}  // namespace

void GenerateShaft() {
  const bool story = config::GameOptions.GameMode_Story;
  TileAt(6, 4, kStone);
  TileAt(7, 4, kStone);
  TileAt(8, 4, kStone);
  Platforms(story);
  LevelBoundaries(story);
  Bottom();
  Walls(story);
  PlaceBonuses();
  // Generation's touches may have scored.
  ResetScoreAccumulators();
}

}  // namespace tw::world
