#include "world/drills_water.h"

#include "core/game_state.h"

namespace tw::world {

Single DrillY = 0;
Single WaterY = 0;
Single WaterFixedY = 0;
std::array<Single, kWaterWaveCells> WaterWave{};

void DisturbWater(long index, double amount) {
  if (index < 0 || index >= kWaterWaveCells) return;
  auto& cell = WaterWave[static_cast<std::size_t>(index)];
  cell = static_cast<Single>(static_cast<double>(cell) + amount);
}

Single DrillTipWorldY() { return DrillY + 32.0f - core::ScrollY; }

}  // namespace tw::world
