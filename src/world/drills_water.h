// The sharp drills lowering from the top, and the water at the bottom.
#pragma once

#include <array>

#include "core/numeric.h"

namespace tw::world {

// Canvas y of the top of the drills (32 pixels tall); the tip is 32 below.
extern Single DrillY;
// Canvas y of the water line, and the height it drifts to.
extern Single WaterY;
extern Single WaterFixedY;

// Surface offsets; cell j belongs to world x 2 * (j + 13) and the pixel after.
inline constexpr int kWaterWaveCells = 241;
extern std::array<Single, kWaterWaveCells> WaterWave;

// Adds to one surface cell; indices outside 0..240 are skipped.
void DisturbWater(long index, double amount);
// Surface pixel p (world x) moves cell p / 2 - 13. Narrows the pixel span
// [from, to] to the pixels that land on a cell, so a loop over it stays
// short and cannot overflow however far off the positions are; false when
// none do.
bool ClampToWavePixels(Long& from, Long& to);
// World y of the drills' tip.
Single DrillTipWorldY();

// Rules run by the game screen for every visible non-empty cell, in this
// order after the cell is drawn (so they also run while paused):
// a tile standing in the water pulls the surface beside it up;
void WaterContactCell(int column, int row);
// the drills' tip inside the cell's row breaks it (stone throws them back
// first). Columns 1..13 only; no points.
void DrillContactCell(int column, int row);

// Once per rendered frame with high detail, after the first level started:
// the water line creeps 0.2 pixels towards its fixed height.
void DriftWaterLine();
// Once per rendered frame with high detail: evens out the surface cells 1..209
// with their neighbours and settles them towards 0 (by 0.4 from above, 2/15
// from below). `afterCell` (may be null) is called after each cell with the
// canvas-relative x of the strip (31..447) and the cell index.
void RelaxWaterSurface(void (*afterCell)(int x, int cell) = nullptr);

}  // namespace tw::world
