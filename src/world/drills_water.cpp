#include "world/drills_water.h"

#include <algorithm>

#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "world/grid.h"
#include "world/player.h"
#include "core/random.h"
#include "world/tile_dynamics.h"

namespace tw::world {

Single DrillY = 0;
Single WaterY = 0;
Single WaterFixedY = 0;
std::array<Single, kWaterWaveCells> WaterWave{};

namespace {

Single& Wave(int i) { return WaterWave[static_cast<std::size_t>(i)]; }

}  // namespace

void DisturbWater(long index, double amount) {
  if (index < 0 || index >= kWaterWaveCells) return;
  auto& cell = WaterWave[static_cast<std::size_t>(index)];
  cell = static_cast<Single>(static_cast<double>(cell) + amount);
}

bool ClampToWavePixels(Long& from, Long& to) {
  constexpr Long kFirst = 2 * 13;                          // cell 0
  constexpr Long kLast = 2 * (kWaterWaveCells - 1 + 13) + 1;  // the second pixel of the last cell
  from = std::max(from, kFirst);
  to = std::min(to, kLast);
  return from <= to;
}

Single DrillTipWorldY() { return DrillY + 32.0f - core::ScrollY; }

void WaterContactCell(int column, int row) {
  if (core::CurrentLevel <= 0 || column < 1) return;
  if (TileAt(static_cast<Single>(column), static_cast<Single>(row)) <= 0) return;
  const Single top = static_cast<Single>(row * 32) + core::ScrollY;
  if (!(top + 32.0f > WaterY && top < WaterY)) return;
  const Single limit = top + 48.0f;
  for (int x = column * 32; x <= column * 32 + 32; ++x) {
    const int i = x / 2;
    if (i <= 13 || i - 13 >= kWaterWaveCells) continue;
    Single& w = Wave(i - 13);
    if (WaterY - w < limit) w -= 0.5f;
  }
}

void DrillContactCell(int column, int row) {
  if (column < 1 || column > 13) return;
  const Single tip = DrillTipWorldY();
  const Single rowTop = static_cast<Single>(row * 32);
  if (!(rowTop < tip && tip < rowTop + 32.0f)) return;  // a tip on a row edge touches neither row

  const auto& tune = config::Tuning;
  const Single c = static_cast<Single>(column);
  const Single r = static_cast<Single>(row);
  const bool stone = TileAt(c, r) == kStone;
  if (stone) {
    DrillY = static_cast<Single>(static_cast<double>(DrillY) -
                                 static_cast<double>(tune.Speed_of_Lowering) *
                                     static_cast<double>(tune.HitStone_GoBack_Pixels) * core::FrameTime);
  }
  if (DrillY < -30.0f) DrillY = -30.0f;

  // Now and then, in arcade mode, the drills only knock a tile loose. The
  // chance follows from the game's seed, frame and column, so a replay that
  // carries the seed meets it again; a replay without one ignores it.
  const bool knock = num::FloorToLong(static_cast<double>(core::GameChance(column)) * 20.0) == 2;
  const bool chance_counts = !core::ReplayPlayback || core::PlaybackHasGameSeed;
  if (knock && !config::GameOptions.GameMode_Story && chance_counts && !stone) {
    HitTile(c, r, tune.Hit_SmashOnForce - 0.5f, false, true);
  } else {
    HitTile(c, r, tune.Hit_SmashOnForce, false, true);
  }
}

void DriftWaterLine() {
  if (!config::GameOptions.Details_High || core::CurrentLevel <= 0) return;
  if (WaterY < WaterFixedY) {
    WaterY += 0.2f;
  } else if (WaterY > WaterFixedY) {
    WaterY -= 0.2f;
  }
}

void RelaxWaterSurface(void (*afterCell)(int x, int cell)) {
  if (!config::GameOptions.Details_High) return;
  for (int x = 31; x <= 448; x += 2) {
    const int i = (x - 31) / 2 + 1;
    Single& left = Wave(i - 1);
    Single& mid = Wave(i);
    Single& right = Wave(i + 1);
    Integer d = num::CInt(static_cast<double>(left) - static_cast<double>(mid));
    left = static_cast<Single>(static_cast<double>(left) - d / 2.0);
    mid = static_cast<Single>(static_cast<double>(mid) + d / 2.0);
    d = num::CInt(static_cast<double>(right) - static_cast<double>(mid));
    right = static_cast<Single>(static_cast<double>(right) - d / 2.0);
    mid = static_cast<Single>(static_cast<double>(mid) + d / 2.0);
    if (mid > 0.0f) {
      left -= 0.4f;
      mid -= 0.4f;
      right -= 0.4f;
    }
    if (mid < 0.0f) {
      left += 2.0f / 15.0f;
      mid += 2.0f / 15.0f;
      right += 2.0f / 15.0f;
    }
    if (afterCell) afterCell(x, i);
  }
}

}  // namespace tw::world
