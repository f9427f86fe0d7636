#include "world/looks.h"

#include <cmath>

#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "core/random.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/effects.h"
#include "world/grid.h"
#include "world/player.h"

namespace tw::world {

LooksState Looks{};

namespace {

Single RandomAngle(Single range) { return std::floor(core::Rnd() * range); }

}  // namespace

std::int32_t TopRow() { return num::CLng(-static_cast<double>(core::ScrollY)) / 32; }

Single ScreenRise() {
  const int level = core::CurrentLevel;
  if (level < 0 || level >= static_cast<int>(config::Levels.size())) return 0.0f;
  return -(config::Levels[static_cast<std::size_t>(level)].ScreenSpeed / 50.0f);
}

void ResetLooks() {
  Looks.ShownLevel = 0;
  Looks.BannerTime = 0;
  Looks.BannerAlpha = 0;
  Looks.ArrowHintsOn = false;
}

void AnimateCreature() {
  LooksState& s = Looks;
  PlayerState& p = Player;
  s.TrailX[2] = s.TrailX[1];
  s.TrailY[2] = s.TrailY[1];
  s.TrailX[1] = s.TrailX[0];
  s.TrailY[1] = s.TrailY[0];
  s.TrailX[0] = p.X;
  s.TrailY[0] = p.Y + core::ScrollY;
  if (!core::Paused) {
    if (p.X == s.TrailX[1] || p.Airborne) {
      s.Wobble = 0;
    } else {
      s.Wobble = RandomAngle(14) - 7.0f;
    }
    if (p.VelocityY <= 0.0f || s.Squint >= 100.0f) {
      s.Squint -= 10.0f;
      if (s.Squint < 0.0f) s.Squint = 0.0f;
    } else {
      s.Squint += 0.5f;
    }
  }
  s.EyeOffset = s.Squint / 15.0f;
  if (s.EyeOffset > 3.0f) s.EyeOffset = 3.0f;
  const Single target = static_cast<Single>(num::CLng(static_cast<double>(s.EyeOffset)) / 2);
  if (p.SwooshTimer > target) {
    p.SwooshTimer -= 0.4f;
  } else if (p.SwooshTimer < target) {
    p.SwooshTimer += 0.2f;
  }
  // Measured against the eye offset rather than the target, as the game always
  // did: while falling fast the ears keep fluttering round their rest angle.
  if (std::fabs(p.SwooshTimer - s.EyeOffset) < 0.2f) p.SwooshTimer = target;
}

void SpinFallingTiles() {
  const Single top = -core::ScrollY;
  for (std::size_t i = 0; i < FallingTiles.size(); ++i) {
    const FallingTile& t = FallingTiles[i];
    Looks.FallingShown[i] = t.Active && top - 32.0f < t.Y && t.Y < top + 480.0f;
    if (Looks.FallingShown[i] && !core::Paused) Looks.FallingAngle[i] = t.Splashed ? 0.0f : RandomAngle(360);
  }
}

void SpinDebris() {
  const Integer distance = config::Tuning.Smashing_Explosion_Distance;
  const Single rise = ScreenRise();
  for (std::size_t i = 0; i < SmashDebrisList.size(); ++i) {
    const SmashDebris& d = SmashDebrisList[i];
    Looks.DebrisShown[i] = d.Active;
    if (!d.Active) continue;
    const Integer alpha =
        distance > 0 ? num::CInt(100.0 - 100.0 / distance * static_cast<double>(d.Age)) : Integer{100};
    if (!core::Paused) Looks.DebrisAngle[i] = RandomAngle(360);
    // Below the drills the four quarters leave dust where they are drawn.
    if (d.Y + core::ScrollY > DrillY + 64.0f && alpha > 5) {
      const Single spread = 2.0f * d.Age;
      // Summed in the drawing's order: the dust starts exactly at each quarter.
      constexpr Single kLeft = static_cast<Single>(GridLeft);
      const Single left = kLeft + d.X - spread;
      const Single right = kLeft + d.X + 16.0f + spread;
      const Single upper = d.Y + core::ScrollY - spread;
      const Single lower = d.Y + core::ScrollY + 16.0f + spread;
      const Single quarters[4][2] = {{left, upper}, {right, upper}, {left, lower}, {right, lower}};
      for (const auto& q : quarters) SpawnParticle(kParticleDust, q[0], q[1], 0.0f, rise, 2.0f, 20.0f, true);
    }
  }
}

void JitterDrills() {
  for (Single& a : Looks.DrillAngle) a = RandomAngle(10) - 5.0f;
}

void MoveWater() {
  Looks.WaterShown = config::GameOptions.Details_High;
  if (!Looks.WaterShown) return;
  DriftWaterLine();
  RelaxWaterSurface([](int x, int cell) {
    LooksState& s = Looks;
    WaterStrip& strip = s.Water[static_cast<std::size_t>((x - 31) / 2)];
    const Single wave = WaterWave[static_cast<std::size_t>(cell)];
    strip.height = 482.0f - WaterY - wave;
    s.WaterPhaseA += 50.0f;
    if (s.WaterPhaseA > 8000.0f) s.WaterPhaseA = 0.0f;
    strip.top = WaterY + wave + std::cos(s.WaterPhaseA);
    strip.foamOn = WaterY + 25.0f < 480.0f;
    if (strip.foamOn) {
      s.WaterPhaseB += 50.0f;
      if (s.WaterPhaseB > 1000.0f) s.WaterPhaseB = 0.0f;
      strip.foam = WaterY + 25.0f + static_cast<Single>(num::CInt(static_cast<double>(wave))) + std::cos(s.WaterPhaseB);
    }
  });
}

void NoteArrowHints() {
  if (core::GameOver) return;
  if (Player.Y + core::ScrollY >= 331.0f && !Player.Airborne) Looks.ArrowHintsOn = true;
}

void AdvanceBanner() {
  LooksState& s = Looks;
  if (core::CurrentLevel != s.ShownLevel && core::CurrentLevel < 11) {
    s.ShownLevel = core::CurrentLevel;
    s.BannerTime = 200;
  }
  s.BannerShown = s.BannerTime > 0;
  if (!s.BannerShown || core::Paused) return;
  s.BannerTime = static_cast<Integer>(s.BannerTime - 1);
  if (s.BannerAlpha < s.BannerTime) {
    s.BannerAlpha = static_cast<Integer>(s.BannerAlpha + 1);
  } else if (s.BannerAlpha > s.BannerTime) {
    s.BannerAlpha = static_cast<Integer>(s.BannerAlpha - 1);
  }
}

void AdvancePauseFade() {
  LooksState& s = Looks;
  s.PauseShown = true;
  if (core::Paused) {
    s.PauseFade = static_cast<Integer>(s.PauseFade + 5 > 100 ? 100 : s.PauseFade + 5);
  } else if (s.PauseFade > 0) {
    s.PauseFade = static_cast<Integer>(s.PauseFade - 5);
  } else {
    s.PauseShown = false;
  }
}

}  // namespace tw::world
