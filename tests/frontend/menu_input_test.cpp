// Menu keys: edge triggering, item limits, screens entered and left, the
// option toggles and the replay keys.
#include "frontend_fixture.h"

namespace tw::testing {
namespace {

using MenuInput = FrontendTest;
namespace key = core::key;
using frontend::MenuItem;
using frontend::MenuScreen;

TEST_F(MenuInput, MainMenuMovesOncePerPressWithoutWrapping) {
  MenuItem = 1;
  Tap(key::Up);
  EXPECT_EQ(MenuItem, 1);
  // Holding Down moves one item only.
  Press(key::Down);
  for (int i = 0; i < 5; ++i) frontend::MenuInput();
  EXPECT_EQ(MenuItem, 2);
  Release(key::Down);
  frontend::MenuInput();
  for (int i = 0; i < 9; ++i) Tap(key::Down);
  EXPECT_EQ(MenuItem, 7);
  EXPECT_EQ(CountSound("menu1"), 11);  // every press sounds, also at the ends
  frontend::IdleFrames = 500;
  Tap(key::Up);
  EXPECT_EQ(MenuItem, 6);
  EXPECT_EQ(frontend::IdleFrames, 0.0f);
}

TEST_F(MenuInput, OnlyTheByte128CountsAsPressedAndOnlyZeroAsReleased) {
  MenuItem = 3;
  core::KeyState[key::Down] = 1;
  frontend::MenuInput();
  EXPECT_EQ(MenuItem, 3);
  Press(key::Down);
  frontend::MenuInput();
  EXPECT_EQ(MenuItem, 4);
  core::KeyState[key::Down] = 1;  // neither down nor up: the latch stays
  frontend::MenuInput();
  Press(key::Down);
  frontend::MenuInput();
  EXPECT_EQ(MenuItem, 4);
  Release(key::Down);
  frontend::MenuInput();
  Press(key::Down);
  frontend::MenuInput();
  EXPECT_EQ(MenuItem, 5);
}

TEST_F(MenuInput, EscapeFromEachScreenSelectsItsButton) {
  const std::vector<std::pair<std::string, Integer>> cases = {
      {"hs", 2}, {"story", 3}, {"story2", 3}, {"options", 4}, {"credits", 5}, {"howtoplay", 6}};
  for (const auto& [screen, item] : cases) {
    MenuScreen = screen;
    MenuItem = 10;
    frontend::MenuButtonAnim[3].Alpha = 80;
    Tap(key::Escape);
    EXPECT_TRUE(MenuScreen.empty()) << screen;
    EXPECT_EQ(MenuItem, item) << screen;
    EXPECT_EQ(frontend::MenuButtonAnim[3].Alpha, 0.0f) << screen;  // the buttons fade in again
  }
  // The won screen leaves its item as it is.
  MenuScreen = "won";
  MenuItem = 10;
  Tap(key::Escape);
  EXPECT_TRUE(MenuScreen.empty());
  EXPECT_EQ(MenuItem, 10);
}

TEST_F(MenuInput, ReturnOpensEachScreenAndBackLeavesIt) {
  const std::vector<std::pair<Integer, std::string>> cases = {
      {2, "hs"}, {3, "story"}, {4, "options"}, {5, "credits"}, {6, "howtoplay"}};
  for (const auto& [item, screen] : cases) {
    MenuScreen.clear();
    MenuItem = item;
    Tap(key::Return);
    EXPECT_EQ(MenuScreen, screen);
    EXPECT_EQ(MenuItem, 10);
    Tap(key::Return);
    if (screen == "story") {
      EXPECT_EQ(MenuScreen, "story2");  // Next leads to page 2
      EXPECT_EQ(MenuItem, 10);
      Tap(key::Return);
      EXPECT_EQ(MenuItem, 3);
    } else {
      EXPECT_EQ(MenuItem, item) << screen;
    }
    EXPECT_TRUE(MenuScreen.empty()) << screen;
  }
  EXPECT_EQ(CountSound("menu2"), 11);
  // Opening the credits restarts their rows.
  frontend::CreditRows[4].Y = 12;
  frontend::CreditRows[4].Alpha = 50;
  MenuItem = 5;
  Tap(key::Return);
  EXPECT_EQ(frontend::CreditRows[4].Y, 540.0f);
  EXPECT_EQ(frontend::CreditRows[4].Alpha, 0.0f);
}

TEST_F(MenuInput, OptionRowsStopAtBothEndsAndSkipEleven) {
  MenuScreen = "options";
  MenuItem = 10;
  Tap(key::Up);
  EXPECT_EQ(MenuItem, 12);
  Tap(key::Down);
  EXPECT_EQ(MenuItem, 10);
  Tap(key::Down);
  EXPECT_EQ(MenuItem, 10);
  for (int i = 0; i < 6; ++i) Tap(key::Up);
  EXPECT_EQ(MenuItem, 15);
  EXPECT_EQ(MenuScreen, "options");
}

TEST_F(MenuInput, NewGameArmsTheFadeAndTheReplayKeysArmOneMode) {
  MenuItem = 1;
  replay::ReplayFrame = 33;
  frontend::IdleFrames = 700;
  Tap(key::Return);
  EXPECT_TRUE(frontend::NewGamePending);
  EXPECT_EQ(MenuItem, 10);
  EXPECT_EQ(replay::ReplayFrame, 0.0f);
  EXPECT_EQ(frontend::IdleFrames, 0.0f);

  Tap(key::T);
  EXPECT_TRUE(replay::ReplayRecord);
  EXPECT_FALSE(world::ReplayPlayback);
  Tap(key::R);
  EXPECT_TRUE(world::ReplayPlayback);
  EXPECT_FALSE(replay::ReplayRecord);
  EXPECT_EQ(replay::ReplayFile, "replay.ini");
}

}  // namespace
}  // namespace tw::testing
