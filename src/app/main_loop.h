// Start-up, the fixed-rate main loop and shut-down.
#pragma once

#include "app/command_line.h"
#include "core/numeric.h"

namespace tw::app {

// Music fade levels in the players' volume units.
extern Single MenuMusicLevel;
extern Single GameMusicLevel;

// The music steps of a menu frame and of a game frame.
void MenuFrameMusic();
void GameFrameMusic();

// The exit code of a run that ended in order but could not save everything
// (each lost file is named on stderr).
inline constexpr int kExitSavesLost = 3;

// Runs the whole program with an already parsed command line; returns the
// process exit code. On the desktop this loops over StepFrame, waiting for
// each frame's deadline; in the browser it hands StepFrame to the page's own
// loop and returns at once (the run's end then closes the page's loop).
int RunGame(const CommandLine& options);

// One frame of the program (the menu's or the game's steps), after closing
// the frame before it (its events read, the frame number moved on). Owns no
// loop and never waits. False once the run is over: the window closed,
// --frames reached, Ctrl-C, or an autoplayed --start game ended.
bool StepFrame();

// Asks the loop to stop after the current frame (the window's close button).
// Returns true when the window may close at once (the loop had already stopped).
bool RequestClose();

}  // namespace tw::app
