// The game logic that runs inside a game-screen frame (no drawing needed):
// hand-back, fades, banner, glass bomb pass, drill contact, the face and trail,
// look-ahead arrows, debug text; and how particles are tinted.
#include <gtest/gtest.h>

#include "core/frame_clock.h"
#include "core/level_scroll.h"
#include "game_screen_fixture.h"

#include <tuple>

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
  EXPECT_EQ(std::tuple(world::EndFade, core::InGame), std::tuple(3.0f, true));
  render::RenderGame();
  EXPECT_TRUE(core::InGame);
  render::RenderGame();
  EXPECT_EQ(std::tuple(world::EndFade, core::InGame, frontend::ReturnFade), std::tuple(-1.0f, false, 100.0f));
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
  const auto& g = render::GameScreen;
  EXPECT_EQ(std::tuple(g.ShownLevel, g.BannerTime, g.BannerAlpha), std::tuple(3, 199, 1));
  core::Paused = true;
  Frames(10);
  EXPECT_EQ(render::GameScreen.BannerTime, 199);
  core::Paused = false;
  Frames(99);
  EXPECT_EQ(render::GameScreen.BannerAlpha, 100);
  Frames(100);
  EXPECT_EQ(std::tuple(g.BannerTime, g.BannerAlpha), std::tuple(0, 0));
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
  EXPECT_EQ(std::tuple(Get(4, 1), Get(4, 2), Get(5, 17), Get(5, 18), Get(6, 9)), std::tuple(1, 5, 5, 1, 6));
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
  const auto& g = render::GameScreen;
  EXPECT_EQ(std::tuple(g.Squint, g.TrailX[0], g.TrailY[0], g.TrailX[1]), std::tuple(2.0f, 50.0f, 60.0f, 96.0f));
  // Standing or rising, the squint falls by 10.
  core::Paused = false;
  world::Player.VelocityY = 0;
  Frames(1);
  EXPECT_FLOAT_EQ(render::GameScreen.Squint, 0.0f);
}

TEST_F(GameScreenRules, ArrowHintsStartLowOnTheScreenAndLastTheGame) {
  // Standing below y 330 turns them on; they then stay on higher up.
  for (const auto& [y, airborne, on] : {std::tuple{330.0f, false, false}, {331.0f, true, false}, {331.0f, false, true},
                                        {100.0f, false, true}}) {
    world::Player.Y = y;
    world::Player.Airborne = airborne;
    render::RenderGame();
    EXPECT_EQ(render::GameScreen.ArrowHintsOn, on) << y << airborne;
  }
  StartGame(false);
  EXPECT_FALSE(render::GameScreen.ArrowHintsOn);
}

TEST_F(GameScreenRules, DebugTextShowsRateGamesAndCell) {
  render::UpdateDebugText();
  EXPECT_TRUE(render::DebugWindow.Text.empty());  // hidden: nothing built
  input::DebugWindowVisible = true;
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
  EXPECT_EQ(std::tuple(render::DebugWindow.X, render::DebugWindow.Y, render::DebugWindow.Width),
            std::tuple(530.0f, 425.0f, 110));
}

// Drawn particles, checked on the offscreen canvas against the same pictures
// drawn by hand in the empty left margin.
using GameScreenParticles = GameScreenTest;

TEST_F(GameScreenParticles, AStreaksFleckIsDrawnInMudsTint) {
  OpenCanvas();
  Scene(false);
  for (core::Cloud& c : core::Clouds) c.Active = false;
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
