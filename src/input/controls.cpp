#include "input/controls.h"

#include "core/game_state.h"
#include "input/keyboard.h"
#include "world/player.h"

namespace tw::input {

// The key table and the intents live in core, where the world reads them.
using core::Controls;
using core::DebugWindowVisible;
using core::IsDown;
using core::KeyState;
namespace key = core::key;

KeyLatchState KeyLatches{};

namespace {

bool IsUp(int code) { return KeyState[static_cast<std::size_t>(code)] == 0; }

// True once per press: the key is down and its latch was clear. The latch is
// cleared only when the key's byte is back to 0.
bool Pressed(int code, bool& latch) {
  if (IsDown(code) && !latch) {
    latch = true;
    return true;
  }
  if (IsUp(code)) latch = false;
  return false;
}

}  // namespace

core::FrameCommands ReadControls() {
  auto& c = Controls;
  core::FrameCommands cmd;
  const bool playback = core::ReplayPlayback;
  // The mouse stands in for keys without touching the key table: the right
  // button for Space, both buttons for Up.
  const bool space = IsDown(key::Space) || core::MouseButton3;
  const bool up = IsDown(key::Up) || (core::MouseButton1 && core::MouseButton2);

  // 1. Tab shows or hides the debug window.
  cmd.ToggleDebugWindow = Pressed(key::Tab, KeyLatches.Tab);
  const bool debug = DebugWindowVisible != cmd.ToggleDebugWindow;

  // 2. Test keys that act every frame they are held.
  if (debug) {
    cmd.ScrollAhead = IsDown(key::A);
    cmd.ScrollBack = IsDown(key::Z);
    cmd.CreatureToTop = IsDown(key::R);
    cmd.ViewToCreature = IsDown(key::O);
  }

  // 3. Escape gives up (and ends a pause).
  cmd.GiveUp = IsDown(key::Escape) && world::EndFade == 0.0f;
  const bool paused = core::Paused && !cmd.GiveUp;

  // 4. Any of these keys ends a replay being played back.
  if (playback) {
    for (int code : {key::Return, key::Up, key::Down, key::Left, key::Right, key::Space}) {
      if (IsDown(code)) ++cmd.EndPlaybackKeys;
    }
  }

  // 5. The bomb, once per press of Space or Down (a request left by the
  // autoplayer goes off here too).
  if (!paused) {
    if (!c.BombLatch) {
      if ((space || IsDown(key::Down)) && !playback) c.BombRequest = true;
    } else if (!space && !IsDown(key::Down)) {
      c.BombLatch = false;
    }
    if (c.BombRequest) {
      c.BombRequest = false;
      cmd.Bomb = true;
      c.BombLatch = true;
    }
  }

  // 6.-7. Walking; Right is tested second and wins.
  if ((IsDown(key::Left) || (core::MouseButton1 && !core::MouseButton2)) && !playback) {
    c.MoveLeft = true;
    c.MoveRight = false;
  }
  if ((IsDown(key::Right) || (core::MouseButton2 && !core::MouseButton1)) && !playback) {
    c.MoveRight = true;
    c.MoveLeft = false;
  }

  // 8.-9. Jump, once per press.
  if (up && !c.JumpLatch && !playback) {
    c.JumpLatch = true;
    c.JumpRequest = true;
  } else if (!up) {
    c.JumpLatch = false;
  }

  // 10. Pause. The world ignores it once the game is over, so a give-up in
  // the same frame wins (its wind-up must run); the latch set here is reset
  // before the next game reads the keys.
  if (IsDown(key::P) && !KeyLatches.P && !playback && !core::GameOver) {
    KeyLatches.P = true;
    cmd.TogglePause = true;
  }
  if (IsUp(key::P)) KeyLatches.P = false;

  // 11. Test keys acting once per press.
  if (debug) {
    cmd.FillBombs = IsDown(key::B);
    cmd.Lighter = Pressed(key::W, KeyLatches.W);
    cmd.Heavier = Pressed(key::E, KeyLatches.E);
    cmd.GlassBomb = Pressed(key::G, KeyLatches.G);
  }

  // 12. Screenshot.
  cmd.Screenshot = Pressed(key::S, KeyLatches.S);
  return cmd;
}

void ResetControls() {
  auto& c = Controls;
  c.MoveLeft = false;
  c.MoveRight = false;
  c.JumpRequest = false;
  c.BombRequest = false;
  // A key held across the change acts again only once it has been let go.
  c.JumpLatch = IsDown(key::Up);
  c.BombLatch = IsDown(key::Space) || IsDown(key::Down);
  KeyLatches.Tab = IsDown(key::Tab);
  KeyLatches.P = IsDown(key::P);
  KeyLatches.S = IsDown(key::S);
  KeyLatches.W = IsDown(key::W);
  KeyLatches.E = IsDown(key::E);
  KeyLatches.G = IsDown(key::G);
}

}  // namespace tw::input
