// The game logic that runs inside a game-screen frame (no drawing needed):
// hand-back, fades, banner, glass bomb pass, drill contact and the
// look-ahead arrows; and how particles are tinted.
#include <gtest/gtest.h>

#include "world/level_scroll.h"
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

// The menu hands its fade to the game screen when it starts a game.
TEST_F(GameScreenRules, TheMenuFadeRunsOutOnlyAfterAMenuStart) {
  frontend::MenuFade = 3;
  frontend::MenuItem = 1;
  Frame();
  frontend::MenuItem = 10;
  Frame();
  const Single after_one = frontend::MenuFade;
  Frame();
  EXPECT_EQ(std::tuple(after_one, frontend::MenuFade), std::tuple(1.0f, 0.0f));
}

TEST_F(GameScreenRules, TheEndFadeHandsBackToTheMenu) {
  world::EndFade = 5;  // 2 per frame
  Frames(2);
  EXPECT_TRUE(core::InGame);
  EXPECT_TRUE(Frame());
  EXPECT_EQ(std::tuple(world::EndFade, core::InGame), std::tuple(-1.0f, false));
}

TEST_F(GameScreenRules, TheLevelBannerFadesInAndOutAndHoldsWhilePaused) {
  Frame();
  EXPECT_EQ(world::Looks.BannerTime, 0);  // level 0 has no banner
  core::CurrentLevel = 3;
  Frame();
  const auto& g = world::Looks;
  EXPECT_EQ(std::tuple(g.ShownLevel, g.BannerTime, g.BannerAlpha), std::tuple(3, 199, 1));
  core::Paused = true;
  Frames(10);
  EXPECT_EQ(world::Looks.BannerTime, 199);
  core::Paused = false;
  Frames(199);
  EXPECT_EQ(std::tuple(g.BannerTime, g.BannerAlpha), std::tuple(0, 0));
  // The end zone (level 11) gets none; a new game starts the banners afresh.
  core::CurrentLevel = 11;
  Frame();
  EXPECT_EQ(world::Looks.BannerTime, 0);
  StartGame(false);
  EXPECT_EQ(world::Looks.ShownLevel, 0);
}

TEST_F(GameScreenRules, TheGlassBombConvertsTheVisibleRowsForOneFrame) {
  // Ordinary tiles in the visible rows turn to glass, their old tile flying
  // apart without points; stone, walls and rows out of sight stay.
  core::ScrollY = -64;  // rows 2..17 visible
  for (const auto& [c, r, v] : {std::tuple{4, 1, 1}, {4, 2, 1}, {5, 17, 40}, {5, 18, 1}, {6, 9, 6}, {7, 9, 55}}) Set(c, r, static_cast<Integer>(v));
  world::GlassBombPending = true;
  Frame();
  EXPECT_FALSE(world::GlassBombPending);
  EXPECT_EQ(std::tuple(Get(4, 1), Get(4, 2), Get(5, 17), Get(5, 18), Get(6, 9), Get(7, 9)), std::tuple(1, 5, 5, 1, 6, 55));
  EXPECT_EQ(std::tuple(world::SmashDebrisList[0].Active, world::SmashDebrisList[1].Active, world::Score), std::tuple(true, true, 0.0f));
}

TEST_F(GameScreenRules, ANegativeScoreIsKeptAsZero) {
  world::Score = -3.0f;
  Frame();
  EXPECT_FLOAT_EQ(world::Score, 0.0f);
}

TEST_F(GameScreenRules, TheFramePassLetsTheDrillsBreakVisibleTilesEvenWhilePaused) {
  core::Paused = true;
  world::DrillY = 5 * 32 - 32 + 8;  // tip in row 5
  Set(7, 5, 6);
  Set(8, 6, 1);
  Frame();
  EXPECT_EQ(Get(7, 5), 0);
  EXPECT_FLOAT_EQ(world::DrillY, 5 * 32 - 32 + 8 - 2.0f);
  EXPECT_EQ(Get(8, 6), 1);
}

TEST_F(GameScreenRules, ArrowHintsStartLowOnTheScreenAndLastTheGame) {
  // Standing below y 330 turns them on; they then stay on higher up.
  for (const auto& [y, airborne, on] : {std::tuple{330.0f, false, false}, {331.0f, true, false}, {331.0f, false, true},
                                        {100.0f, false, true}}) {
    world::Player.Y = y;
    world::Player.Airborne = airborne;
    Frame();
    EXPECT_EQ(world::Looks.ArrowHintsOn, on) << y << airborne;
  }
  StartGame(false);
  EXPECT_FALSE(world::Looks.ArrowHintsOn);
}

}  // namespace
}  // namespace tw::testing
