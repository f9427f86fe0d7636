// The game logic that runs inside a game-screen frame (no drawing needed):
// hand-back, fades, banner, glass bomb pass, drill contact, creature state,
// look-ahead arrows, debug text; and how particles are tinted.
#include <gtest/gtest.h>

#include "render/menu_background.h"
#include "core/frame_clock.h"
#include "world/level_scroll.h"
#include "game_screen_fixture.h"

namespace tw::testing {
namespace {

class GameScreenRules : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    platform::SetVideoBackend(platform::VideoBackend::Headless);
    EmptyShaft();
    core::ScrollY = 0;
    world::DrillY = -40;
    PlaceCreature(3, 2);
  }
};

TEST_F(GameScreenRules, TheEndFadeHandsBackToTheMenu) {
  world::EndFade = 5;
  render::RenderGame();
  EXPECT_FLOAT_EQ(world::EndFade, 3.0f);
  EXPECT_TRUE(core::InGame);
  render::RenderGame();
  EXPECT_TRUE(core::InGame);
  render::RenderGame();
  EXPECT_FLOAT_EQ(world::EndFade, -1.0f);
  EXPECT_FALSE(core::InGame);
  EXPECT_FLOAT_EQ(render::ReturnFade, 100.0f);
}

TEST_F(GameScreenRules, TheMenuFadeRunsOutOnlyAfterAMenuStart) {
  frontend::MenuFade = 3;
  frontend::MenuItem = 1;
  render::RenderGame();
  EXPECT_FLOAT_EQ(frontend::MenuFade, 3.0f);
  frontend::MenuItem = 10;
  render::RenderGame();
  EXPECT_FLOAT_EQ(frontend::MenuFade, 1.0f);
  render::RenderGame();
  EXPECT_FLOAT_EQ(frontend::MenuFade, 0.0f);
}

TEST_F(GameScreenRules, TheLevelBannerFadesInAndOutAndHoldsWhilePaused) {
  render::RenderGame();
  EXPECT_EQ(render::GameScreen.BannerTime, 0);  // level 0 has no banner
  core::CurrentLevel = 3;
  render::RenderGame();
  EXPECT_EQ(render::GameScreen.ShownLevel, 3);
  EXPECT_EQ(render::GameScreen.BannerTime, 199);
  EXPECT_EQ(render::GameScreen.BannerAlpha, 1);
  core::Paused = true;
  Frames(10);
  EXPECT_EQ(render::GameScreen.BannerTime, 199);
  core::Paused = false;
  Frames(99);
  EXPECT_EQ(render::GameScreen.BannerAlpha, 100);
  Frames(100);
  EXPECT_EQ(render::GameScreen.BannerTime, 0);
  EXPECT_EQ(render::GameScreen.BannerAlpha, 0);
  // The end zone (level 11) gets none; a new game starts the banners afresh.
  core::CurrentLevel = 11;
  render::RenderGame();
  EXPECT_EQ(render::GameScreen.BannerTime, 0);
  StartGame(false);
  EXPECT_EQ(render::GameScreen.ShownLevel, 0);
}

TEST_F(GameScreenRules, TheGlassBombConvertsTheVisibleRowsForOneFrame) {
  core::ScrollY = -64;  // rows 2..17 visible
  Set(4, 1, 1);
  Set(4, 2, 1);
  Set(5, 17, 40);
  Set(5, 18, 1);
  Set(6, 9, 6);
  world::GlassBombPending = true;
  render::RenderGame();
  EXPECT_FALSE(world::GlassBombPending);
  EXPECT_EQ(Get(4, 1), 1);
  EXPECT_EQ(Get(4, 2), 5);
  EXPECT_EQ(Get(5, 17), 5);
  EXPECT_EQ(Get(5, 18), 1);
  EXPECT_EQ(Get(6, 9), 6);
}

TEST_F(GameScreenRules, TheFramePassLetsTheDrillsBreakVisibleTilesEvenWhilePaused) {
  core::Paused = true;
  world::DrillY = 5 * 32 - 32 + 8;  // tip in row 5
  Set(7, 5, 6);
  Set(8, 6, 1);
  render::RenderGame();
  EXPECT_EQ(Get(7, 5), 0);
  EXPECT_FLOAT_EQ(world::DrillY, 5 * 32 - 32 + 8 - 2.0f);
  EXPECT_EQ(Get(8, 6), 1);
}

TEST_F(GameScreenRules, TheTrailShiftsWhilePausedButTheFaceDoesNotChange) {
  world::Player.VelocityY = 3;
  world::Player.Airborne = true;
  Frames(4);
  EXPECT_FLOAT_EQ(render::GameScreen.Squint, 2.0f);
  EXPECT_FLOAT_EQ(render::GameScreen.EyeOffset, 2.0f / 15.0f);
  core::Paused = true;
  world::Player.X = 50;
  world::Player.Y = 70;
  core::ScrollY = -10;
  Frames(1);
  EXPECT_FLOAT_EQ(render::GameScreen.Squint, 2.0f);
  EXPECT_FLOAT_EQ(render::GameScreen.TrailX[0], 50.0f);
  EXPECT_FLOAT_EQ(render::GameScreen.TrailY[0], 60.0f);
  EXPECT_FLOAT_EQ(render::GameScreen.TrailX[1], 96.0f);
  // Standing or rising, the squint falls by 10.
  core::Paused = false;
  world::Player.VelocityY = 0;
  Frames(1);
  EXPECT_FLOAT_EQ(render::GameScreen.Squint, 0.0f);
}

TEST_F(GameScreenRules, TheEarsSettleAfterAMidAirJump) {
  world::Player.SwooshTimer = 3.0f;
  world::Player.VelocityY = 0;
  Frames(1);
  EXPECT_NEAR(world::Player.SwooshTimer, 2.6f, 1e-5);
  Frames(8);
  // 3 - 9 x 0.4 = -0.6 would pass 0; within 0.2 of the eye offset (0) it snaps.
  EXPECT_LE(std::fabs(world::Player.SwooshTimer), 0.2f + 1e-5f);
  Frames(3);
  EXPECT_FLOAT_EQ(world::Player.SwooshTimer, 0.0f);
}

TEST_F(GameScreenRules, ArrowHintsStartLowOnTheScreenAndLastTheGame) {
  world::Player.Y = 330;
  render::RenderGame();
  EXPECT_FALSE(render::GameScreen.ArrowHintsOn);
  world::Player.Y = 331;
  world::Player.Airborne = true;
  render::RenderGame();
  EXPECT_FALSE(render::GameScreen.ArrowHintsOn);
  world::Player.Airborne = false;
  render::RenderGame();
  EXPECT_TRUE(render::GameScreen.ArrowHintsOn);
  world::Player.Y = 100;
  render::RenderGame();
  EXPECT_TRUE(render::GameScreen.ArrowHintsOn);
  StartGame(false);
  EXPECT_FALSE(render::GameScreen.ArrowHintsOn);
}

TEST_F(GameScreenRules, DebugTextShowsRateGamesAndCell) {
  render::UpdateDebugText();
  EXPECT_TRUE(render::DebugWindow.Text.empty());  // hidden: nothing built
  core::DebugWindowVisible = true;
  core::FrameClock.Fps = 49.5f;
  core::FrameClock.SpinRate = 1234.9f;
  config::PlayedGames = 7;
  world::Player.X = 112;  // column 3.5 rounds to 112 / 32 = 3
  world::Player.Y = 303;
  render::UpdateDebugText();
  std::string rule;
  for (int i = 0; i < 17; ++i) rule += "\u00BB";
  EXPECT_EQ(render::DebugWindow.Text,
            "FPS: 49.5 (1234)\r\nPlayed times: 7\r\n" + rule + "\r\nP.position: 3x9\r\n");
  EXPECT_FLOAT_EQ(render::DebugWindow.X, 530.0f);
  EXPECT_FLOAT_EQ(render::DebugWindow.Y, 425.0f);
  EXPECT_EQ(render::DebugWindow.Width, 110);
}

// Drawn particles, checked on the offscreen canvas against the same pictures
// drawn by hand in the empty left margin.
using GameScreenParticles = GameScreenTest;

TEST_F(GameScreenParticles, AStreaksFleckIsDrawnInMudsTint) {
  OpenCanvas();
  Scene(false);
  for (world::Cloud& c : world::Clouds) c.Active = false;
  world::Particle& p = world::Particles[0];
  p = world::Particle{};
  p.Life = 10;
  p.Kind = world::kParticleStreak;
  p.X = 600;  // right margin, clear while no bombs are held
  p.Y = 100;
  render::RenderGame();
  render::SetDrawColor(170, 248, 255);
  render::DrawSprite(render::TexParticles, 8, 100, 32, 32, 0, 50, 0, 0);
  render::SetDrawColor(14, 90, 157);
  render::DrawSpriteRegion(render::TexParticles, 8, 100, 32, 32, 32, 0, 0, 50, 32, 16);
  render::SetDrawColor(255, 255, 255);
  Read();
  int drawn = 0;
  for (int dy = 0; dy < 32; ++dy) {
    for (int dx = 0; dx < 32; ++dx) {
      ASSERT_EQ(Pixel(600 + dx, 100 + dy), Pixel(8 + dx, 100 + dy)) << dx << "," << dy;
      drawn += Pixel(8 + dx, 100 + dy) != Pixel(8 + dx, 140) ? 1 : 0;
    }
  }
  EXPECT_GT(drawn, 20);  // the streak is really there
}

}  // namespace
}  // namespace tw::testing
