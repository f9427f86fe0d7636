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

TEST_F(MenuInput, ItemsMoveOncePerPressAndStopAtTheEnds) {
  // The main menu runs 1..7; the option rows 10, 12..15 (no row 11).
  for (const auto& [screen, from, code, taps, to] :
       {std::tuple{"", 1, key::Up, 1, 1}, {"", 1, key::Down, 9, 7}, {"options", 10, key::Up, 1, 12},
        {"options", 12, key::Down, 2, 10}, {"options", 10, key::Up, 6, 15}}) {
    MenuScreen = screen;
    MenuItem = static_cast<Integer>(from);
    for (int i = 0; i < taps; ++i) Tap(code);
    EXPECT_EQ(std::tuple(MenuScreen, MenuItem), std::tuple(screen, to)) << screen << " " << from << " x" << taps;
  }
  EXPECT_EQ(CountSound("menu1"), 19);  // every press sounds, also at the ends
  // Holding Down moves one item only; a press ends the idle count.
  MenuScreen.clear();
  MenuItem = 1;
  frontend::IdleFrames = 500;
  Press(key::Down);
  for (int i = 0; i < 5; ++i) frontend::MenuInput();
  EXPECT_EQ(std::tuple(MenuItem, frontend::IdleFrames), std::tuple(2, 0.0f));
  Release(key::Down);
  frontend::MenuInput();
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
