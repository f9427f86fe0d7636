#include "input/controls.h"

#include "config/tuning.h"
#include "core/game_state.h"
#include "input/keyboard.h"
#include "world/bonuses.h"
#include "world/player.h"
#include "world/tile_dynamics.h"

namespace tw::input {

// The key table and the intents live in core, where the world reads them.
using core::Controls;
using core::DebugWindowVisible;
using core::IsDown;
using core::KeyState;
using core::kKeyDown;
namespace key = core::key;

KeyLatchState KeyLatches{};
bool ScreenshotRequested = false;

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

Single NextLevelSpeed() {
  const int row = core::CurrentLevel + 1;
  if (row < 0 || row >= static_cast<int>(config::Levels.size())) return 0.0f;
  return config::Levels[static_cast<std::size_t>(row)].ScreenSpeed;
}

}  // namespace

void ReadControls() {
  auto& c = Controls;
  const bool playback = world::ReplayPlayback;

  // 1. Tab shows or hides the debug window.
  if (Pressed(key::Tab, KeyLatches.Tab)) DebugWindowVisible = !DebugWindowVisible;

  // 2. Test keys that act every frame they are held (all of them, those of
  // step 11 too, mark the game as one the table does not take).
  for (int k : {key::A, key::Z, key::R, key::O, key::B, key::W, key::E, key::G}) core::TestKeysUsed |= DebugWindowVisible && !playback && !core::GameOver && IsDown(k);
  if (DebugWindowVisible) {
    const Single speed = NextLevelSpeed();
    if (IsDown(key::A)) {
      // Speed x 5 is a Single product; only the step time brings in Double.
      core::ScrollY = static_cast<Single>(static_cast<double>(core::ScrollY) +
                                          static_cast<double>(speed * 5.0f) * core::FrameTime);
    }
    if (IsDown(key::Z)) {
      core::ScrollY = static_cast<Single>(static_cast<double>(core::ScrollY) -
                                          static_cast<double>(speed) * core::FrameTime * 10.0);
    }
    if (IsDown(key::R)) world::Player.Y = -core::ScrollY + 96.0f;
    if (IsDown(key::O)) core::ScrollY = -world::Player.Y + 160.0f;
  }

  // 3. Escape gives up.
  if (IsDown(key::Escape) && world::EndFade == 0.0f) {
    core::Paused = false;
    world::EndGame();
  }

  // 4. Any of these keys ends a replay being played back.
  if (playback) {
    for (int code : {key::Return, key::Up, key::Down, key::Left, key::Right, key::Space}) {
      if (IsDown(code) && world::EndFade == 0.0f) world::EndGame();
    }
  }

  // 5. The bomb, once per press of Space or Down.
  if (!core::Paused) {
    if (core::MouseButton3) KeyState[key::Space] = kKeyDown;
    if (!c.BombLatch) {
      if ((IsDown(key::Space) || IsDown(key::Down)) && !playback) c.BombRequest = true;
    } else if (!IsDown(key::Space) && !IsDown(key::Down)) {
      c.BombLatch = false;
    }
    if (c.BombRequest) {
      c.BombRequest = false;
      world::Explode(0);
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

  // 8.-9. Jump, once per press; both mouse buttons jump.
  if (core::MouseButton1 && core::MouseButton2) KeyState[key::Up] = kKeyDown;
  if (IsDown(key::Up) && !c.JumpLatch && !playback) {
    c.JumpLatch = true;
    c.JumpRequest = true;
  } else if (IsUp(key::Up)) {
    c.JumpLatch = false;
  }

  // 10. Pause. Escape in the same frame wins: a game given up is never
  // paused (its wind-up must run).
  if (IsDown(key::P) && !KeyLatches.P && !playback && !core::GameOver) {
    KeyLatches.P = true;
    core::Paused = !core::Paused;
  }
  if (IsUp(key::P)) KeyLatches.P = false;

  // 11. Test keys acting once per press.
  if (DebugWindowVisible) {
    if (IsDown(key::B)) world::Bombs = 100;
    if (Pressed(key::W, KeyLatches.W)) world::Player.Weight -= 1.0f;
    if (Pressed(key::E, KeyLatches.E)) world::Player.Weight += 1.0f;
    if (Pressed(key::G, KeyLatches.G)) world::GlassBombPending = true;
  }

  // 12. Screenshot (taken by the frame right after the controls are read).
  if (Pressed(key::S, KeyLatches.S)) ScreenshotRequested = true;
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
  ScreenshotRequested = false;
}

}  // namespace tw::input
