// Particles and explosions: their pools, ageing, fading and splashes.
#include "world_fixture.h"

#include <vector>
#include <tuple>

namespace tw::testing {
namespace {

class Effects : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    EmptyShaft();
  }
  static int LiveParticles() {
    int n = 0;
    for (const auto& p : world::Particles) n += p.Life >= 1 ? 1 : 0;
    return n;
  }
};

TEST_F(Effects, The152ndParticleIsDroppedAndBadPlacesAreRefused) {
  world::SpawnParticle(world::kParticleDust, 10, -0.5f, 0, 0, 0, 30, true);
  world::SpawnParticle(world::kParticleDust, 10, 500, 0, 0, 0, 30, true);
  EXPECT_EQ(LiveParticles(), 0);
  for (int i = 0; i < 152; ++i) {
    world::SpawnParticle(world::kParticleMud, static_cast<Single>(i), 499.5f, 1, -1, 4, 30.5f, true);
  }
  // 30.5 rounds to the even 30.
  EXPECT_EQ(std::tuple(LiveParticles(), world::Particles[150].X, world::Particles[0].Life), std::tuple(151, 150.0f, 30));
  // A freed entry is the next one used.
  world::Particles[7].Life = 0;
  world::SpawnParticle(world::kParticleIce, 999, 0, 0, 0, 0, 10, false);
  EXPECT_FLOAT_EQ(world::Particles[7].X, 999.0f);
}

TEST_F(Effects, ParticlesMoveFadeAndRunOutAndLowDetailMakesNone) {
  world::SpawnParticle(world::kParticleDust, 10, 20, 1.5f, -2, 4, 52, true);
  world::SpawnParticle(world::kParticleStreak, 10, 20, 0, 0, 0, 2, false);
  std::vector<Integer> alphas;
  for (int i = 0; i < 4; ++i) {
    world::UpdateParticles();
    for (const auto& q : world::Particles) {
      if (q.Life >= 1) alphas.push_back(world::ParticleAlpha(q));
    }
  }
  // Fading over the last fifty frames (min(life, 50) before the step); without fade always 50.
  EXPECT_EQ(alphas, (std::vector<Integer>{50, 50, 50, 50, 49}));
  const world::Particle& p = world::Particles[0];
  EXPECT_EQ(std::tuple(p.X, p.Y, p.Life, world::Particles[1].Life), std::tuple(16.0f, 12.0f, 48, 0));
  config::GameOptions.Details_High = false;
  world::SpawnParticle(world::kParticleDust, 20, 20, 1, 1, 0, 30, true);
  world::UpdateParticles();
  EXPECT_EQ(std::tuple(LiveParticles(), p.X), std::tuple(1, 16.0f));
}

TEST_F(Effects, TheTwelfthExplosionIsDroppedWithoutASplash) {
  for (int i = 0; i < 11; ++i) world::SpawnExplosion(static_cast<Single>(i), 10, 0, 0, 0);
  for (const auto& e : world::ExplosionEffects) EXPECT_TRUE(e.Active);
  // Close to the water: a free entry would splash.
  world::SpawnExplosion(200, world::WaterY, 0, 0, 0);
  for (Single w : world::WaterWave) EXPECT_FLOAT_EQ(w, 0.0f);
  EXPECT_FLOAT_EQ(world::ExplosionEffects[10].X, 10.0f);
}

TEST_F(Effects, AnExplosionNearTheWaterSplashesWithThreeSounds) {
  ListenToSounds();
  const auto& played = PlayedSounds();
  world::SpawnExplosion(100, world::WaterY - 116 + 1, 0, 0, 0);
  ASSERT_EQ(played.size(), 3u);
  EXPECT_EQ(std::tuple(played[0].name, played[2].name, played[1].volume), std::tuple("waterhit1", "waterhit3", 92));
  // x 100..234: cells (p div 2) - 13 from 37 to 104, doubled in the middle
  // (150 < p < 184).
  // Cell 37: p = 100 and 101; 104: p = 234 only; 70: p = 166 and 167, both doubled.
  const auto& w = world::WaterWave;
  EXPECT_EQ(std::tuple(w[36], w[37], w[104], w[70]), std::tuple(0.0f, 30.0f, 15.0f, 60.0f));
}

}  // namespace
}  // namespace tw::testing
