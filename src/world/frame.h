// The world's share of a game frame: the commands of the keys applied, one
// world step, and the frame's rules pass. The game frame (app) runs them in
// its order; every caller that plays a game goes through these.
#pragma once

#include "core/input_state.h"

namespace tw::world {

// The keys' commands, in the order they were always handled.
void ApplyCommands(const core::FrameCommands& commands);

// One world step (not run while paused): the creature, the tiles, the drills,
// the score, the clouds, the level and the scroll.
void Step();

// The rules that run once per drawn frame, in this order: the rules of every
// visible non-empty cell (glass bomb, water contact, drill contact), the
// creature's looks, the spins of falling tiles and debris, the bonuses,
// explosions and particles, the drills' jitter, the water, the popups, the
// arrow hints, the bonus timers, the banner, the score kept at 0 or above,
// the pause fade and the hand-back. They run while paused too, and only on
// the visible rows: the game always ran them with the drawing, so a paused
// game still picks up a bonus the creature touches, and a cell off the screen
// meets no drill or water. True when the hand-back ended the game this frame.
bool RunFrameRules();

}  // namespace tw::world
