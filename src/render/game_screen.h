// The game screen: everything drawn during a game, and the share of game logic
// that runs with the drawing every frame (also while paused).
#pragma once

#include <array>

#include "core/numeric.h"

namespace tw::render {

struct GameScreenState {
  Integer ShownLevel = 0;   // the level whose banner was last started
  Integer BannerTime = 0;   // frames of banner left
  Integer BannerAlpha = 0;
  Integer PauseFade = 0;    // opacity of the pause overlay, 0..100
  bool ArrowHintsOn = false;
  // The creature's last three screen positions (world x, canvas y), 0 newest.
  std::array<Single, 3> TrailX{};
  std::array<Single, 3> TrailY{};
  Single Wobble = 0;     // the creature's drawing angle
  Single Squint = 0;     // 0..100, rises while it falls
  Single EyeOffset = 0;  // Squint / 15, at most 3
  Single WaterPhaseA = 0;
  Single WaterPhaseB = 0;
  // Drawing angles of falling tiles and smash debris, drawn afresh each
  // unpaused frame and kept while paused.
  std::array<Single, 51> FallingAngle{};
  std::array<Single, 27> DebrisAngle{};
};
extern GameScreenState GameScreen;

// Draws and presents one game frame, running the frame's share of the rules.
void RenderGame();
// The banner and the look-ahead arrows start afresh with a new game.
void ResetGameScreen();

// The menu lays its background over a game's first frames and lifts it: the
// fade and the item it depends on are the menu's, so the front end installs
// this when it starts a game. Drawn after the pause overlay; none when unset.
extern void (*MenuFadeOverGame)();

// The tile texture slot for a cell value: grey versions for untouched tiles
// when `grey`, glass as its grey picture only when `greyGlass`. 0 (nothing)
// for values without a picture.
int TileTextureSlot(Integer value, bool grey, bool greyGlass);
// Digits of the score box: 1 below 10, ... 5 from 10,000 on.
int ScoreDigits(Single score);

}  // namespace tw::render
