// Game controllers through SDL's virtual joystick: hot-plugged pads act as
// the keys a keyboard player would press, in a game and in the menu, and an
// unplugged pad pauses a game in play.
#include <SDL.h>
#include <gtest/gtest.h>

#include "../frontend/frontend_fixture.h"
#include "app/desktop_events.h"
#include "platform/input.h"
#include "platform/video.h"

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
    pad_index_ = Plug();
    ASSERT_GE(pad_index_, 0) << SDL_GetError();
    pad_ = SDL_JoystickOpen(pad_index_);
    ASSERT_NE(pad_, nullptr);
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
  void Stick(Sint16 x) { SDL_JoystickSetVirtualAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX, x); }
  // One game frame's controls: the frame-end read, then the controls.
  static void GameFrame() {
    input::ReadKeyboard();
    input::ReadControls();
  }

  int pad_index_ = -1;
  SDL_Joystick* pad_ = nullptr;
};

TEST_F(ControllerTest, InAGameThePadWalksJumpsBombsPausesAndGivesUp) {
  EmptyShaft();
  core::InGame = true;

  Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  GameFrame();
  EXPECT_TRUE(core::Controls.MoveRight);
  Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
  Stick(-30000);  // the left stick walks too
  GameFrame();
  EXPECT_TRUE(core::Controls.MoveLeft);
  EXPECT_FALSE(core::Controls.MoveRight);
  Stick(0);

  Button(SDL_CONTROLLER_BUTTON_A, true);
  GameFrame();
  EXPECT_TRUE(core::Controls.JumpRequest);
  EXPECT_TRUE(core::Controls.JumpLatch);  // held: no second jump until released
  Button(SDL_CONTROLLER_BUTTON_A, false);
  GameFrame();
  EXPECT_FALSE(core::Controls.JumpLatch);

  for (auto bomb : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X}) {
    Button(bomb, true);
    GameFrame();
    EXPECT_TRUE(core::Controls.BombLatch) << bomb;
    EXPECT_FALSE(core::Controls.BombRequest) << bomb;  // fired at once
    Button(bomb, false);
    GameFrame();
    EXPECT_FALSE(core::Controls.BombLatch) << bomb;
  }

  Button(SDL_CONTROLLER_BUTTON_START, true);
  GameFrame();
  EXPECT_TRUE(core::Paused);
  Button(SDL_CONTROLLER_BUTTON_START, false);
  GameFrame();
  Button(SDL_CONTROLLER_BUTTON_START, true);
  GameFrame();
  EXPECT_FALSE(core::Paused);
  Button(SDL_CONTROLLER_BUTTON_START, false);

  Button(SDL_CONTROLLER_BUTTON_BACK, true);
  GameFrame();
  EXPECT_TRUE(core::GameOver);
}

TEST_F(ControllerTest, InTheMenuThePadMovesConfirmsAndGoesBackButNeverTypesAName) {
  core::InGame = false;
  frontend::MenuScreen = "";
  frontend::MenuItem = 1;
  Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  frontend::MenuInput();
  Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  frontend::MenuInput();
  EXPECT_EQ(frontend::MenuItem, 2);
  Button(SDL_CONTROLLER_BUTTON_A, true);
  frontend::MenuInput();
  Button(SDL_CONTROLLER_BUTTON_A, false);
  frontend::MenuInput();
  EXPECT_EQ(frontend::MenuScreen, "hs");
  Button(SDL_CONTROLLER_BUTTON_B, true);
  frontend::MenuInput();
  Button(SDL_CONTROLLER_BUTTON_B, false);
  EXPECT_EQ(frontend::MenuScreen, "");

  // Name entry after a game stays on the keyboard.
  core::InGame = true;
  core::GameOver = true;
  Button(SDL_CONTROLLER_BUTTON_A, true);
  input::ReadKeyboard();
  EXPECT_FALSE(core::IsDown(key::Return));
  EXPECT_FALSE(core::IsDown(key::Up));
}

TEST_F(ControllerTest, UnpluggingAPadPausesAGameInPlayButNotAReplay) {
  EmptyShaft();
  core::InGame = true;
  core::GameOver = false;
  world::ReplayPlayback = true;
  const int second = Plug();  // several at once; the watched replay goes on
  input::ReadKeyboard();
  EXPECT_EQ(platform::ConnectedPads(), 2);
  SDL_JoystickDetachVirtual(second);
  input::ReadKeyboard();
  EXPECT_EQ(platform::ConnectedPads(), 1);
  EXPECT_FALSE(core::Paused);

  world::ReplayPlayback = false;
  SDL_JoystickClose(pad_);
  pad_ = nullptr;
  SDL_JoystickDetachVirtual(pad_index_);
  input::ReadKeyboard();
  EXPECT_EQ(platform::ConnectedPads(), 0);
  EXPECT_TRUE(core::Paused);
}

}  // namespace
}  // namespace tw::testing
