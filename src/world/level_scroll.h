// Per-frame world steps run by the main loop: level tracking and scrolling,
// the two background clouds, the drills' descent.
#pragma once

#include <array>

#include "core/numeric.h"

namespace tw::world {

struct Cloud {
  bool Active = false;
  Single X = 0, Y = 0;
  Single Width = 0, Height = 0;
  Single DriftX = 0;
  Single SpeedDivisor = 0;
};
extern std::array<Cloud, 2> Clouds;

void TrackLevelAndScroll();
void DriftClouds();
void LowerDrills();

}  // namespace tw::world
