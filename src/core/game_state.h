// Top-level game flags and the per-frame state owned by the main loop.
#pragma once

#include <cstdint>

#include "core/numeric.h"

namespace tw::core {

enum class GameMode { Stopped, Menu, GamePaused, GameOverEntry, Playing };

// The main loop continues while Running; InGame chooses game frames over menu
// frames; Paused skips the world steps; GameOver switches controls to name entry.
extern bool Running;
extern bool InGame;
extern bool Paused;
extern bool GameOver;
// The test keys of the debug window changed the world in the current game:
// its score is not a player's and stays out of the high-score table.
extern bool TestKeysUsed;
// Set while a recording plays back: the world, the controls and the menus
// all ask it, so it sits with the other game flags.
extern bool ReplayPlayback;

// Mouse flags, written only by the window's button events (buttons 1..3).
extern bool MouseButton1;
extern bool MouseButton2;
extern bool MouseButton3;

// The world's time step in seconds; exactly 0.02 after every frame wait.
extern Double FrameTime;
// Vertical scroll offset of the shaft view: 0 at a new game, more negative as
// the view descends. A world point at y is drawn at canvas y + ScrollY.
extern Single ScrollY;
// The level (1..10) holding the bottom screen row; 0 before the first
// evaluation and past the last level.
extern Integer CurrentLevel;

// Frames run since start-up, over menu and game alike (keyboard scripts and
// the state report count in these).
extern std::int64_t FrameNumber;

GameMode CurrentGameMode();
// The mode the flags describe, leaving the running flag aside.
GameMode ActivityMode();
const char* GameModeName(GameMode mode);

}  // namespace tw::core
