// Per-frame controls: keys turned into the creature's intents and into the
// commands of the in-game keys (give up, bomb, pause, screenshot, the debug
// window and its test keys), which the world applies.
#pragma once

#include "core/input_state.h"

namespace tw::input {

// Latches of the other once-per-press keys. E, G and W are shared with the
// name-entry scan (Space's latch is Controls.BombLatch).
struct KeyLatchState {
  bool Tab = false;
  bool P = false;
  bool S = false;
  bool W = false;
  bool E = false;
  bool G = false;
};
extern KeyLatchState KeyLatches;

// Turns this frame's keys into the creature's intents (core::Controls) and
// the commands the world applies; writes nothing else but the key latches.
core::FrameCommands ReadControls();
// The intents cleared and every latch set to whether its key is held now, so
// nothing one game (or the menu) left behind acts in the next.
void ResetControls();

}  // namespace tw::input
