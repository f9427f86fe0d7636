// The creature: position, motion and the end of a game.
#pragma once

#include <string>

#include "core/numeric.h"

namespace tw::world {

struct PlayerState {
  Single X = 0;  // top-left of the 32 x 32 box, world pixels
  Single Y = 0;
  Single VelocityY = 0;  // pixels per world step, positive downwards
  Single Weight = 0;     // added to VelocityY (x FrameTime) every step in the air
  bool Airborne = false;
  bool OnIce = false;
  bool InWater = false;
  Single PrevX = 0;
  bool WalkSoundOn = false;
  bool NeedleWarned = false;
  Single SwooshTimer = 0;  // counted down and drawn by the renderer
  bool GlassHit = false;   // scratch flag of one step
};

extern PlayerState Player;

// Hand-off to the end-of-game handling and the menus.
extern bool GameWon;            // the creature reached the bottom
extern bool EndReady;           // the game may be wound up (no name needed, or confirmed)
extern Single EndFade;          // 0 while playing and during name entry
extern std::string TypedName;   // the name being typed (at most 20 characters)
extern std::string LastName;    // the name of the previous qualifying game
extern Long LastGameScore;      // score of the last live game (32 bits: scores can pass 32767)

// Places the creature for a new game and clears its flags.
void ResetPlayer();
void UpdatePlayer();
void EndGame();

}  // namespace tw::world
