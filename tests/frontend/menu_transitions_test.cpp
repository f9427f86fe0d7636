// The automatic transitions of menu frames: the fade into a new game, the
// idle replay, screen fades and the items they leave, the story read, the
// credits.
#include "frontend_fixture.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace tw::testing {
namespace {

using MenuFrames = FrontendTest;
namespace key = core::key;
using frontend::MenuItem;
using frontend::MenuScreen;

TEST_F(MenuFrames, ANewGameStartsTwentyFramesAfterItWasChosen) {
  core::InGame = false;
  frontend::MenuFrame();
  EXPECT_EQ(MenuItem, 1);  // 0 only before the first main-menu frame
  EXPECT_EQ(frontend::MenuFade, 100.0f);
  Press(key::Return);
  frontend::MenuFrame();
  Release(key::Return);
  EXPECT_TRUE(frontend::NewGamePending);
  EXPECT_EQ(frontend::MenuFade, 95.0f);
  int frames = 1;
  while (!core::InGame && frames < 100) {
    frontend::MenuFrame();
    ++frames;
  }
  EXPECT_EQ(std::tuple(frames, frontend::NewGamePending, frontend::MenuFade), std::tuple(20, false, 100.0f));
  // Item 10 carries the game screen's fade in from the menu background.
  EXPECT_EQ(MenuItem, 10);
  EXPECT_FALSE(core::GameOver);
  EXPECT_EQ(config::MapHeight, 234.0f);  // the story tuning file was read (the built-in levels make 1,050)
}

TEST_F(MenuFrames, NoIdleReplayStartsWithoutReplayFiles) {
  frontend::IdleFrames = 0;
  for (int i = 0; i < 1201; ++i) frontend::IdleReplayStart();
  EXPECT_FALSE(frontend::NewGamePending);
  EXPECT_FALSE(core::ReplayPlayback);
  EXPECT_EQ(frontend::IdleFrames, 900.0f);  // looks again 300 frames later
  // No countdown to nothing; one shows within a second of a file turning up.
  EXPECT_FALSE(frontend::IdleReplayAvailable());
  std::ofstream(dir_ / "replay10.ini") << "[options]\nlastframe=10\n";
  bool shown = false;
  for (int i = 0; i < 50; ++i) shown = frontend::IdleReplayAvailable();
  EXPECT_TRUE(shown);
  // While a recording is armed the idle count stands still.
  replay::ReplayRecord = true;
  for (int i = 0; i < 400; ++i) frontend::IdleReplayStart();
  EXPECT_EQ(frontend::IdleFrames, 900.0f);
}

TEST_F(MenuFrames, AnIdleReplayPlaysOneOfTheFilesThatExist) {
  std::ofstream(dir_ / "replay4.ini") << "[options]\nlastframe=10\n";
  std::ofstream(dir_ / "replay9.ini") << "[options]\nlastframe=10\n";
  MenuItem = 3;
  frontend::IdleFrames = 1200;
  frontend::IdleReplayStart();
  EXPECT_EQ(std::tuple(frontend::NewGamePending, core::ReplayPlayback, replay::ReplayRecord, MenuItem, frontend::IdleFrames),
            std::tuple(true, true, false, 10, 900.0f));
  EXPECT_TRUE(replay::ReplayFile == "replay4.ini" || replay::ReplayFile == "replay9.ini")
      << replay::ReplayFile;
  std::set<std::string> chosen;
  for (int i = 0; i < 64; ++i) chosen.insert(frontend::ChooseIdleReplayFile());
  EXPECT_EQ(chosen, (std::set<std::string>{"replay4.ini", "replay9.ini"}));
}

TEST_F(MenuFrames, ScreenFadesRiseFallAndHandBackTheirItem) {
  MenuScreen = "howtoplay";
  for (int i = 0; i < 12; ++i) frontend::UpdateScreenFade("howtoplay");
  EXPECT_EQ(frontend::ScreenFades.howtoplay, 80.0f);  // the page stays slightly transparent
  MenuScreen = "options";
  for (int i = 0; i < 12; ++i) frontend::UpdateScreenFade("options");
  EXPECT_EQ(frontend::ScreenFades.options, 100.0f);
  MenuScreen.clear();
  MenuItem = 1;
  for (int i = 0; i < 9; ++i) frontend::UpdateScreenFade("options");
  EXPECT_EQ(MenuItem, 1);  // not yet run out
  frontend::UpdateScreenFade("options");
  EXPECT_EQ(frontend::ScreenFades.options, 0.0f);
  EXPECT_EQ(MenuItem, 4);
  frontend::UpdateScreenFade("options");  // a faded screen leaves the item alone
  MenuItem = 2;
  frontend::UpdateScreenFade("options");
  EXPECT_EQ(MenuItem, 2);
}

TEST_F(MenuFrames, EscapeFromTheFirstStoryPageEndsOnNewGameFromPageTwoOnStory) {
  for (const auto& [page, item] : {std::pair{"story", 1}, {"story2", 3}}) {
    MenuScreen = page;
    MenuItem = 10;
    for (int i = 0; i < 12; ++i) frontend::MenuFrame();
    Press(key::Escape);
    frontend::MenuFrame();
    Release(key::Escape);
    for (int i = 0; i < 12; ++i) frontend::MenuFrame();
    EXPECT_TRUE(MenuScreen.empty());
    EXPECT_EQ(MenuItem, item) << page;
  }
}

TEST_F(MenuFrames, CreditsRunOutAfterSixteenHundredFramesOnNewGame) {
  MenuScreen = "credits";
  MenuItem = 10;
  frontend::ResetCreditRows();
  for (int i = 0; i < 1600; ++i) frontend::ScrollCreditRows();
  EXPECT_EQ(MenuScreen, "credits");
  frontend::ScrollCreditRows();
  EXPECT_EQ(std::tuple(MenuScreen, MenuItem), std::tuple("", 1));
}

TEST_F(MenuFrames, ButterfliesSpawnOnTheCanvasAndTurnBackWhenTheyLeaveIt) {
  frontend::MoveButterflies();
  for (const auto& b : frontend::Butterflies) EXPECT_TRUE(b.X > -3.0f && b.X < 643.0f) << b.X;
  // A butterfly that has just crossed the right edge circles back in.
  for (auto& b : frontend::Butterflies) b.X = 641, b.Y = 240, b.Heading = 0;
  std::vector<bool> back(frontend::Butterflies.size(), false);
  for (int i = 0; i < 200; ++i) {
    frontend::MoveButterflies();
    for (std::size_t k = 0; k < back.size(); ++k) back[k] = back[k] || frontend::Butterflies[k].X <= 640;
  }
  EXPECT_EQ(std::count(back.begin(), back.end(), false), 0);
}

TEST_F(MenuFrames, LastStepTurnsALeftoverItemTenIntoNewGame) {
  MenuScreen = "won";
  MenuItem = 10;
  frontend::ScreenFades.won = 100;
  Tap(key::Return);  // leaving "won" keeps item 10 ...
  EXPECT_EQ(MenuItem, 10);
  frontend::FinishMenuFrame();  // ... which the frame's last step makes New Game
  EXPECT_EQ(MenuItem, 1);
  MenuScreen = "hs";
  MenuItem = 10;
  frontend::FinishMenuFrame();
  EXPECT_EQ(MenuItem, 10);
}

}  // namespace
}  // namespace tw::testing
