// Game controllers through SDL's virtual joystick: hot-plugged pads act as
// the keys a keyboard player would press, in a game and in the menu, and an
// unplugged pad pauses a game in play.
#include <SDL.h>
#include <gtest/gtest.h>

#include "../frontend/frontend_fixture.h"
#include "app/desktop_events.h"
#include "platform/input.h"
#include "platform/video.h"
#include "app/game_frame.h"
#include "replay/replay.h"

namespace tw::testing {
namespace {

namespace key = core::key;

class ControllerTest : public FrontendTest {
 protected:
  void SetUp() override {
    FrontendTest::SetUp();
    // The hidden test window never has the focus, and SDL drops pad input
    // for an unfocused window unless told otherwise.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    platform::SetVideoBackend(platform::VideoBackend::Offscreen);
    ASSERT_TRUE(platform::OpenDisplay(platform::VideoConfig{}));
    input::InitKeyboard();
    platform::SetWindowEvents({nullptr, nullptr, nullptr, [] { app::PauseWhileAway(); },
                               [] { app::PauseWhileAway(); }});
    pad_ = SDL_JoystickOpen(pad_index_ = Plug());
    ASSERT_NE(pad_, nullptr) << SDL_GetError();
    input::ReadKeyboard();  // the arrival is noticed on a read, as in the game
    ASSERT_EQ(platform::ConnectedPads(), 1);
  }
  void TearDown() override {
    if (pad_ != nullptr) SDL_JoystickClose(pad_);
    SDL_JoystickDetachVirtual(pad_index_);
    platform::SetWindowEvents({});
    platform::CloseControllers();
    platform::CloseDisplay();
    FrontendTest::TearDown();
  }

  static int Plug() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Test pad";
    return SDL_JoystickAttachVirtualEx(&desc);
  }
  void Button(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(pad_, b, down ? 1 : 0); }

  int pad_index_ = -1;
  SDL_Joystick* pad_ = nullptr;
};

TEST_F(ControllerTest, EachButtonActsAsTheKeyOfItsScreenAndNameEntryStaysOnTheKeyboard) {
  struct Case {
    bool in_game, game_over;
    SDL_GameControllerButton button;
    int key;  // 0: no key at all
  };
  const Case cases[] = {
      {true, false, SDL_CONTROLLER_BUTTON_DPAD_LEFT, key::Left}, {true, false, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, key::Right},
      {true, false, SDL_CONTROLLER_BUTTON_A, key::Up},           {true, false, SDL_CONTROLLER_BUTTON_B, key::Space},
      {true, false, SDL_CONTROLLER_BUTTON_X, key::Space},        {true, false, SDL_CONTROLLER_BUTTON_START, key::P},
      {true, false, SDL_CONTROLLER_BUTTON_BACK, key::Escape},    {false, false, SDL_CONTROLLER_BUTTON_DPAD_UP, key::Up},
      {false, false, SDL_CONTROLLER_BUTTON_DPAD_DOWN, key::Down}, {false, false, SDL_CONTROLLER_BUTTON_A, key::Return},
      {false, false, SDL_CONTROLLER_BUTTON_B, key::Escape},      {true, true, SDL_CONTROLLER_BUTTON_A, 0},
  };
  for (const Case& c : cases) {
    core::InGame = c.in_game;
    core::GameOver = c.game_over;
    Button(c.button, true);
    input::ReadKeyboard();
    for (int code = 1; code < 256; ++code) EXPECT_EQ(core::IsDown(code), code == c.key) << c.button << " " << code;
    Button(c.button, false);
    input::ReadKeyboard();
    EXPECT_FALSE(c.key != 0 && core::IsDown(c.key)) << c.button;
  }
  SDL_JoystickSetVirtualAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX, -30000);  // the stick walks as the D-pad does
  core::InGame = true;
  core::GameOver = false;
  input::ReadKeyboard();
  EXPECT_TRUE(core::IsDown(key::Left));
}

TEST_F(ControllerTest, ThePadPlaysAndMovesThroughTheMenuLikeTheKeyboard) {
  EmptyShaft();
  core::InGame = true;
  const auto frame = [this](SDL_GameControllerButton b) {  // pressed for one frame, then released
    Button(b, true);
    input::ReadKeyboard();
    world::ApplyCommands(input::ReadControls());
    Button(b, false);
  };
  frame(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  EXPECT_TRUE(core::Controls.MoveRight);
  frame(SDL_CONTROLLER_BUTTON_A);
  EXPECT_TRUE(core::Controls.JumpRequest);
  frame(SDL_CONTROLLER_BUTTON_X);
  EXPECT_TRUE(core::Controls.BombLatch);  // the bomb went off at once
  frame(SDL_CONTROLLER_BUTTON_START);
  EXPECT_TRUE(core::Paused);
  frame(SDL_CONTROLLER_BUTTON_BACK);
  EXPECT_TRUE(core::GameOver);

  core::InGame = false;
  frontend::MenuScreen = "";
  frontend::MenuItem = 1;
  for (auto b : {SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_A}) {
    Button(b, true);
    input::ReadKeyboard();
    frontend::MenuInput();
    Button(b, false);
    input::ReadKeyboard();
    frontend::MenuInput();
  }
  EXPECT_EQ(frontend::MenuScreen, "hs");  // moved to High Scores and confirmed
}

TEST_F(ControllerTest, AGamePlayedWithThePadPlaysBackTheSame) {
  for (auto& e : config::HighScores) e.Score = 100000;  // no name entry
  const auto game = [this](bool record) {
    replay::ReplayRecord = record;
    core::ReplayPlayback = !record;
    replay::ReplayFile = "";
    replay::ReplayFrame = 0;
    world::EndFade = 0;
    replay::PrepareNewGame();
    StartGame(false, WithValues(BasicTuning(), {{"WalkSpeed", "50"}}));
    core::InGame = true;
    for (int f = 0; f < 60; ++f) {
      if (record) Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, f >= 5 && f < 30);
      if (record) Button(SDL_CONTROLLER_BUTTON_A, f == 10);
      app::GameFrame();
      app::EndOfFrame();
    }
    world::EndGame();
    frontend::EndOfGameCheck();
    return std::pair(world::Player.X, world::Player.Y);
  };
  const auto played = game(true);
  EXPECT_GT(played.first, 7.0f * 32.0f);  // the pad walked the creature right from column 7
  EXPECT_EQ(game(false), played);
}

TEST_F(ControllerTest, UnpluggingAPadPausesAGameInPlayButNotAReplay) {
  EmptyShaft();
  core::InGame = true;
  core::GameOver = false;
  core::ReplayPlayback = true;
  const int second = Plug();  // several at once; the watched replay goes on
  input::ReadKeyboard();
  EXPECT_EQ(platform::ConnectedPads(), 2);
  SDL_JoystickDetachVirtual(second);
  input::ReadKeyboard();
  EXPECT_EQ(platform::ConnectedPads(), 1);
  EXPECT_FALSE(core::Paused);

  core::ReplayPlayback = false;
  SDL_JoystickClose(pad_);
  pad_ = nullptr;
  SDL_JoystickDetachVirtual(pad_index_);
  input::ReadKeyboard();
  EXPECT_EQ(platform::ConnectedPads(), 0);
  EXPECT_TRUE(core::Paused);
}

}  // namespace
}  // namespace tw::testing
