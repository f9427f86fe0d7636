#include "world/level_scroll.h"

#include <algorithm>
#include <limits>


#include "config/tuning.h"
#include "core/game_state.h"
#include "world/drills_water.h"
#include "world/player.h"
#include "core/random.h"

namespace tw::world {

std::array<Cloud, 2> Clouds{};

void TrackLevelAndScroll() {
  const std::int32_t row = num::CLng(static_cast<double>(world::Player.Y) + 30.0) / 32;
  if (row < 4 || core::GameOver) return;  // nothing scrolls before the creature has dug four rows
  core::CurrentLevel = 0;
  std::int32_t sum = 0;
  for (int i = 1; i <= 11; ++i) {
    sum += config::Levels[static_cast<std::size_t>(i)].LevelSize;
    const std::int32_t bottom_row = num::CLng(-static_cast<double>(core::ScrollY)) / 32 + 15;
    if (sum > bottom_row) {
      core::CurrentLevel = static_cast<Integer>(i);
      break;
    }
  }
  core::ScrollY = static_cast<Single>(static_cast<double>(core::ScrollY) -
                                static_cast<double>(config::Levels[static_cast<std::size_t>(core::CurrentLevel)].ScreenSpeed) *
                                    core::FrameTime);
}

void LowerDrills() {
  if (core::CurrentLevel >= 1 && !core::GameOver) {
    // A lowering speed near the float limit (either way) stops the drills at
    // the largest finite position instead of running them out of range.
    constexpr double kMax = std::numeric_limits<Single>::max();
    world::DrillY = static_cast<Single>(std::clamp(
        static_cast<double>(world::DrillY) + static_cast<double>(config::Tuning.Speed_of_Lowering) * core::FrameTime,
        -kMax, kMax));
  }
}

void DriftClouds() {
  for (std::size_t i = 0; i < Clouds.size(); ++i) {
    Cloud& c = Clouds[i];
    const Cloud& other = Clouds[1 - i];
    if (!c.Active) {
      if (i == 0) {
        c.Width = 217;
        c.Height = 92;
      } else {
        c.Width = 189;
        c.Height = 84;
      }
      if (other.Y < 240 || !other.Active) c.Active = true;
      c.DriftX = (core::Rnd() * 8 - 4) / 10;
      c.SpeedDivisor = core::Rnd() + 2;
      c.X = core::Rnd() * 640 - static_cast<Single>(num::CLng(c.Width) / 2);
      c.Y = 480;
    } else {
      if (!core::GameOver) {
        // Single divided by Single stays a Single before meeting the Double step.
        const Single rise = config::Levels[static_cast<std::size_t>(core::CurrentLevel)].ScreenSpeed / c.SpeedDivisor;
        c.Y = static_cast<Single>(static_cast<double>(c.Y) - static_cast<double>(rise) * core::FrameTime);
      }
      c.X = c.X + c.DriftX;
      if (!(c.Y >= -c.Height && c.X >= -c.Width && c.X <= 640 + c.Width)) c.Active = false;
    }
  }
}

}  // namespace tw::world
