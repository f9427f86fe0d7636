#include "world/effects.h"

#include "audio/sound.h"
#include "config/options.h"
#include "core/game_state.h"
#include "core/numeric.h"
#include "world/bonuses.h"
#include "world/drills_water.h"

namespace tw::world {

std::array<Particle, kParticleSlots> Particles{};
std::array<ExplosionEffect, kExplosionSlots> ExplosionEffects{};

void SpawnParticle(Integer kind, Single x, Single y, Single velocityX, Single velocityY, Single spin,
                   Single life, bool fade) {
  if (!config::GameOptions.Details_High) return;
  if (!(y >= 0.0f) || y >= 500.0f) return;
  for (Particle& p : Particles) {
    if (p.Life >= 1) continue;
    p.Life = num::CInt(life);
    p.Kind = kind;
    p.X = x;
    p.Y = y;
    p.VelocityX = velocityX;
    p.VelocityY = velocityY;
    p.Spin = spin;
    p.Fade = fade;  // Angle keeps its old value
    return;
  }
}

void SpawnExplosion(Single x, Single y, Single boomX, Single boomY, Single boomAngle) {
  for (ExplosionEffect& e : ExplosionEffects) {
    if (e.Active) continue;
    e.Active = true;
    e.X = x;
    e.Y = y;
    e.BoomX = boomX;
    e.BoomY = boomY;
    e.BoomAngle = boomAngle;
    e.Alpha = 100;
    e.FlashAngle = BonusSpin;
    // A blast near the water throws up a splash.
    if (y + 116.0f > WaterY) {
      if (config::GameOptions.Details_High) {
        audio::PlaySound("waterhit1", false, 92, 0, 0);
        audio::PlaySound("waterhit2", false, 92, 0, 0);
        audio::PlaySound("waterhit3", false, 92, 0, 0);
      }
      // The bounds are Single sums (x plus whole numbers), rounded afterwards.
      const Single last = x + 134.0f;
      const Single innerFrom = x + 50.0f;
      const Single innerTo = x + 84.0f;
      Long from = num::CLng(x);
      Long to = num::CLng(last);
      if (!ClampToWavePixels(from, to)) return;
      for (Long p = from; p <= to; ++p) {
        const Long j = p / 2;
        if (j > 12) {
          DisturbWater(j - 13, 15.0);
          const double pd = static_cast<double>(p);
          if (static_cast<double>(innerFrom) < pd && pd < static_cast<double>(innerTo)) DisturbWater(j - 13, 15.0);
        }
      }
    }
    return;
  }
}

void UpdateParticles() {
  if (!config::GameOptions.Details_High) return;
  for (Particle& p : Particles) {
    if (p.Life < 1) continue;
    p.X += p.VelocityX;
    p.Y += p.VelocityY;
    p.Angle += p.Spin;
    p.Life = static_cast<Integer>(p.Life - 1);
  }
}

void UpdateExplosions() {
  for (ExplosionEffect& e : ExplosionEffects) {
    if (!e.Active) continue;
    if (e.Alpha > 0) {
      if (!core::Paused) e.Alpha = static_cast<Integer>(e.Alpha - 10);
    } else {
      e.Alpha = 0;
      e.Active = false;
    }
  }
}

void ClearEffects() {
  for (Particle& p : Particles) p.Life = 0;
  for (ExplosionEffect& e : ExplosionEffects) e.Active = false;
}

}  // namespace tw::world
