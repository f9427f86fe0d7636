#include "core/level_scroll.h"

#include "config/tuning.h"
#include "core/game_state.h"
#include "world/drills_water.h"
#include "world/player.h"
#include "world/random.h"

namespace tw::core {

std::array<Cloud, 2> Clouds{};

void TrackLevelAndScroll() {
  const std::int32_t row = num::CLng(static_cast<double>(world::Player.Y) + 30.0) / 32;
  if (row < 4 || GameOver) return;  // nothing scrolls before the creature has dug four rows
  CurrentLevel = 0;
  std::int32_t sum = 0;
  for (int i = 1; i <= 11; ++i) {
    sum += config::Levels[static_cast<std::size_t>(i)].LevelSize;
    const std::int32_t bottom_row = num::CLng(-static_cast<double>(ScrollY)) / 32 + 15;
    if (sum > bottom_row) {
      CurrentLevel = static_cast<Integer>(i);
      break;
    }
  }
  ScrollY = static_cast<Single>(static_cast<double>(ScrollY) -
                                static_cast<double>(config::Levels[static_cast<std::size_t>(CurrentLevel)].ScreenSpeed) *
                                    FrameTime);
}

void LowerDrills() {
  if (CurrentLevel >= 1 && !GameOver) {
    world::DrillY = static_cast<Single>(static_cast<double>(world::DrillY) +
                                        static_cast<double>(config::Tuning.Speed_of_Lowering) * FrameTime);
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
      c.DriftX = (world::Rnd() * 8 - 4) / 10;
      c.SpeedDivisor = world::Rnd() + 2;
      c.X = world::Rnd() * 640 - static_cast<Single>(num::CLng(c.Width) / 2);
      c.Y = 480;
    } else {
      if (!GameOver) {
        // Single divided by Single stays a Single before meeting the Double step.
        const Single rise = config::Levels[static_cast<std::size_t>(CurrentLevel)].ScreenSpeed / c.SpeedDivisor;
        c.Y = static_cast<Single>(static_cast<double>(c.Y) - static_cast<double>(rise) * FrameTime);
      }
      c.X = c.X + c.DriftX;
      if (!(c.Y >= -c.Height && c.X >= -c.Width && c.X <= 640 + c.Width)) c.Active = false;
    }
  }
}

}  // namespace tw::core
