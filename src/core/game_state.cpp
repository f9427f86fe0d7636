#include "core/game_state.h"
#include "core/input_state.h"

namespace tw::core {

bool Running = false;
bool InGame = false;
bool Paused = false;
bool GameOver = false;
bool ReplayPlayback = false;
bool MouseButton1 = false;
bool MouseButton2 = false;
bool MouseButton3 = false;

std::array<std::uint8_t, 256> KeyState{};
ControlState Controls{};
bool DebugWindowVisible = false;
bool TestKeysUsed = false;
Double FrameTime = 0.0;
Single ScrollY = 0.0f;
Integer CurrentLevel = 0;
std::int64_t FrameNumber = 0;

GameMode CurrentGameMode() {
  if (!Running) return GameMode::Stopped;
  return ActivityMode();
}

GameMode ActivityMode() {
  if (!InGame) return GameMode::Menu;
  if (Paused) return GameMode::GamePaused;
  if (GameOver) return GameMode::GameOverEntry;
  return GameMode::Playing;
}

const char* GameModeName(GameMode mode) {
  switch (mode) {
    case GameMode::Stopped: return "stopped";
    case GameMode::Menu: return "menu";
    case GameMode::GamePaused: return "paused";
    case GameMode::GameOverEntry: return "game_over";
    case GameMode::Playing: return "playing";
  }
  return "stopped";
}

}  // namespace tw::core
