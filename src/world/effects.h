// Short-lived visual objects started by the simulation: particles and bomb
// explosions. Moving, fading and drawing them is the game screen's.
#pragma once

#include <array>

#include "core/numeric.h"

namespace tw::world {

enum ParticleKind : Integer { kParticleDust = 0, kParticleMud = 1, kParticleIce = 2, kParticleGum = 3, kParticleStreak = 5 };

struct Particle {
  Integer Life = 0;  // frames left; free when below 1
  Integer Kind = 0;
  Single X = 0;  // canvas pixels
  Single Y = 0;
  Single VelocityX = 0;
  Single VelocityY = 0;
  Single Spin = 0;
  Single Angle = 0;
  bool Fade = false;
};
inline constexpr int kParticleSlots = 151;
extern std::array<Particle, kParticleSlots> Particles;

struct ExplosionEffect {
  bool Active = false;
  Single X = 0;  // world x
  Single Y = 0;  // canvas y
  Single BoomX = 0;
  Single BoomY = 0;
  Single BoomAngle = 0;
  Integer Alpha = 0;
  Single FlashAngle = 0;
};
inline constexpr int kExplosionSlots = 11;
extern std::array<ExplosionEffect, kExplosionSlots> ExplosionEffects;

// Only with high detail; positions are canvas pixels.
void SpawnParticle(Integer kind, Single x, Single y, Single velocityX, Single velocityY, Single spin,
                   Single life, bool fade);
void SpawnExplosion(Single x, Single y, Single boomX, Single boomY, Single boomAngle);
void ClearEffects();

// Once per frame (also while paused): moves and ages every live particle.
// High detail only.
void UpdateParticles();
// The opacity (0..50) a particle is drawn with after its update.
inline Integer ParticleAlpha(const Particle& p) {
  const Integer before = static_cast<Integer>(p.Life + 1);
  return p.Fade ? (before < 50 ? before : Integer{50}) : Integer{50};
}
// Once per frame: fades every live explosion by 10 (not while paused); a
// spent one is retired.
void UpdateExplosions();

}  // namespace tw::world
