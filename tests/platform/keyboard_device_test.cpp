// The keyboard device over real SDL events (dummy video driver, no window).
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/input.h"
#include "platform/video.h"
#include "platform/web.h"

namespace tw::platform {
namespace {

class KeyboardDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetVideoBackend(VideoBackend::Offscreen);
    ASSERT_TRUE(OpenDisplay(VideoConfig{}));
    ASSERT_TRUE(OpenKeyboard());
  }
  void TearDown() override { CloseDisplay(); }

  static void Push(SDL_Scancode sc, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = sc;
    SDL_PushEvent(&e);
  }
};

TEST_F(KeyboardDeviceTest, AQuickTapBetweenTwoReadsIsSeenOnce) {
  std::array<std::uint8_t, 256> table{};
  ASSERT_TRUE(ReadKeyboardTable(table));
  Push(SDL_SCANCODE_LEFT, true);
  Push(SDL_SCANCODE_LEFT, false);
  ASSERT_TRUE(ReadKeyboardTable(table));
  EXPECT_EQ(table[203], 128);
  for (std::size_t i = 0; i < 256; ++i) {
    if (i != 203) {
      EXPECT_EQ(table[i], 0) << i;
    }
  }
  ASSERT_TRUE(ReadKeyboardTable(table));
  EXPECT_EQ(table[203], 0);
}

TEST_F(KeyboardDeviceTest, RepeatsNeverReachTheTableButTapsTheWindowPumpSawDo) {
  std::array<std::uint8_t, 256> table{};
  Push(SDL_SCANCODE_SPACE, true, /*repeat=*/true);
  Push(SDL_SCANCODE_P, true);
  Push(SDL_SCANCODE_P, false);
  PumpEvents();  // the loop's yield may take the events before the read
  ASSERT_TRUE(ReadKeyboardTable(table));
  EXPECT_EQ(table[57], 0);
  EXPECT_EQ(table[25], 128);
}

TEST_F(KeyboardDeviceTest, MouseButtonsAndCloseRequestsReachTheGame) {
  int seen_button = 0;
  bool seen_down = false;
  int closes = 0;
  SetWindowEvents({[&] {
                     ++closes;
                     return false;
                   },
                   [&](int button, bool down) {
                     seen_button = button;
                     seen_down = down;
                   },
                   {}, {}, {}});
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_RIGHT;
  SDL_PushEvent(&e);
  PumpEvents();
  EXPECT_EQ(seen_button, 2);
  EXPECT_TRUE(seen_down);
  SDL_Event q{};
  q.type = SDL_QUIT;
  SDL_PushEvent(&q);
  PumpEvents();
  EXPECT_EQ(closes, 1);
}

TEST_F(KeyboardDeviceTest, AltEnterAndF11SwitchTheWindowWithoutConfirmingAnything) {
  int toggles = 0;
  SetWindowEvents({{}, {}, [&] { ++toggles; }, {}, {}});
  std::array<std::uint8_t, 256> table{};
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.keysym.scancode = SDL_SCANCODE_RETURN;
  e.key.keysym.mod = KMOD_LALT;
  SDL_PushEvent(&e);
  ASSERT_TRUE(ReadKeyboardTable(table));  // the frame's read sees it first
  EXPECT_EQ(table[28], 0);                // Return is not a confirm here
  e.key.keysym.scancode = SDL_SCANCODE_F11;
  e.key.keysym.mod = KMOD_NONE;
  SDL_PushEvent(&e);
  PumpEvents();  // both switches happen at the yield, between frames
  EXPECT_EQ(toggles, 1);                   // one request per yield, however many presses
  Push(SDL_SCANCODE_F11, true);
  PumpEvents();
  EXPECT_EQ(toggles, 2);
  SetWindowEvents({});
}

// The page's touch pad and name field press keys by SDL's names: each one
// lands on the game's own key code, held until released; unknown names and
// a missing name do nothing.
TEST_F(KeyboardDeviceTest, PageKeysByNameReachTheTableAsTheKeyboardsOwn) {
  const struct {
    const char* name;
    int code;
  } keys[] = {{"Left", 203}, {"Right", 205}, {"Up", 200}, {"Down", 208}, {"Return", 28}, {"Escape", 1},
              {"Space", 57},  {"P", 25},      {"W", 17},    {"7", 8},      {"Backspace", 14}};
  std::array<std::uint8_t, 256> table{};
  for (const auto& k : keys) {
    tw_page_key(k.name, 1);
    ASSERT_TRUE(ReadKeyboardTable(table));
    EXPECT_EQ(table[static_cast<std::size_t>(k.code)], 128) << k.name;
    ASSERT_TRUE(ReadKeyboardTable(table));
    EXPECT_EQ(table[static_cast<std::size_t>(k.code)], 128) << k.name << " is held until released";
    tw_page_key(k.name, 0);
    ASSERT_TRUE(ReadKeyboardTable(table));
    EXPECT_EQ(table[static_cast<std::size_t>(k.code)], 0) << k.name;
  }
  tw_page_key("NoSuchKey", 1);
  tw_page_key(nullptr, 1);
  ASSERT_TRUE(ReadKeyboardTable(table));
  for (std::size_t i = 0; i < 256; ++i) EXPECT_EQ(table[i], 0) << i;
}

}  // namespace
}  // namespace tw::platform
