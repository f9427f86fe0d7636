// Per-frame controls: keys turned into the creature's intents, and the
// in-game keys (give up, pause, screenshot, debug window).
#pragma once

namespace tw::input {

// The creature's intents and their once-per-press latches.
struct ControlState {
  bool MoveLeft = false;
  bool MoveRight = false;
  bool JumpRequest = false;
  bool JumpLatch = false;   // Up pressed and not yet released
  bool BombRequest = false;
  bool BombLatch = false;   // Space or Down pressed and not yet both released
};
extern ControlState Controls;

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

// The debug window is shown and its test keys act.
extern bool DebugWindowVisible;

void ReadControls();

}  // namespace tw::input
