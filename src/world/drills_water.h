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
// World y of the drills' tip.
Single DrillTipWorldY();

}  // namespace tw::world
