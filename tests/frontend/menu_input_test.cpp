// Menu keys: edge triggering, item limits, screens entered and left, the
// option toggles and the replay keys.
#include "frontend_fixture.h"

#include <tuple>

namespace tw::testing {
namespace {

using MenuInput = FrontendTest;
namespace key = core::key;
using frontend::MenuItem;
using frontend::MenuScreen;

TEST_F(MenuInput, MainMenuMovesOncePerPressWithoutWrapping) {
  MenuItem = 1;
  Tap(key::Up);  // no wrapping round
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
  // A 1 is neither down nor up: it neither presses nor frees the latch.
  int frame = 0;
  for (const auto& [state, item] : {std::pair{1, 3}, {128, 4}, {1, 4}, {128, 4}, {0, 4}, {128, 5}}) {
    core::KeyState[key::Down] = static_cast<std::uint8_t>(state);
    frontend::MenuInput();
    EXPECT_EQ(MenuItem, item) << "frame " << frame++;
  }
}

TEST_F(MenuInput, EscapeFromEachScreenSelectsItsButton) {
  const std::vector<std::pair<std::string, Integer>> cases = {
      {"hs", 2}, {"story", 3}, {"story2", 3}, {"options", 4}, {"credits", 5}, {"howtoplay", 6}};
  for (const auto& [screen, item] : cases) {
    MenuScreen = screen;
    MenuItem = 10;
    frontend::MenuButtonAnim[3].Alpha = 80;
    Tap(key::Escape);
    // The buttons fade in again.
    EXPECT_EQ(std::tuple(MenuScreen, MenuItem, frontend::MenuButtonAnim[3].Alpha), std::tuple("", item, 0.0f)) << screen;
  }
  // The won screen leaves its item as it is.
  MenuScreen = "won";
  MenuItem = 10;
  Tap(key::Escape);
  EXPECT_EQ(std::tuple(MenuScreen, MenuItem), std::tuple("", 10));
}

// Opening Options with Return and leaving it, and the two story pages, are
// followed end to end in the menu flow.
TEST_F(MenuInput, OpeningTheCreditsRestartsTheirRows) {
  frontend::CreditRows[4].Y = 12;
  frontend::CreditRows[4].Alpha = 50;
  MenuItem = 5;
  Tap(key::Return);
  EXPECT_EQ(std::tuple(frontend::CreditRows[4].Y, frontend::CreditRows[4].Alpha), std::tuple(540.0f, 0.0f));
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
  EXPECT_EQ(std::tuple(frontend::NewGamePending, MenuItem, replay::ReplayFrame, frontend::IdleFrames),
            std::tuple(true, 10, 0.0f, 0.0f));

  Tap(key::T);
  EXPECT_TRUE(replay::ReplayRecord);
  EXPECT_FALSE(core::ReplayPlayback);
  Tap(key::R);
  EXPECT_EQ(std::tuple(core::ReplayPlayback, replay::ReplayRecord, replay::ReplayFile),
            std::tuple(true, false, "replay.ini"));
}

}  // namespace
}  // namespace tw::testing
