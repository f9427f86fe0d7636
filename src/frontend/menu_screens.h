// Drawing the menu screens: background, title, buttons, credits, options,
// story pages, how to play, high scores, the won picture and butterflies.
#pragma once

#include <array>

#include "core/numeric.h"

namespace tw::frontend {

// Records 1..7 animate the main-menu buttons; record 0's Alpha belongs to the
// options screen's Back button.
struct ButtonAnim {
  Single Alpha = 0;
  Single Phase = 0;
};
extern std::array<ButtonAnim, 8> MenuButtonAnim;

// The scrolling credits: 31 rows, some with a picture.
struct CreditRowState {
  Single Y = 0;
  Single Alpha = 0;
};
inline constexpr int kCreditRows = 31;
extern std::array<CreditRowState, kCreditRows> CreditRows;

struct Butterfly {
  Integer Kind = 0;  // 1..4
  Integer FlapTimer = 0;
  bool WingPhase = false;
  Single X = 0;  // exactly 0 marks a record not spawned yet
  Single Y = 0;
  Single Heading = 0;  // degrees
  Single Speed = 0;
  Integer Size = 0;  // 2..8
};
inline constexpr int kButterflies = 51;
extern std::array<Butterfly, kButterflies> Butterflies;

// Moves (x, y) by `distance` in the direction `angle` (degrees).
void MoveByAngle(Single& x, Single& y, Single angle, Single distance);
// Brings an angle back towards 0..360 (one turn at most each way).
void WrapAngle(Single& angle);

// Sets every main-menu button's alpha to 0 so the buttons fade in again.
void ResetMenuButtons();
// Restarts the credits: row i at y 460 + 20 i, invisible.
void ResetCreditRows();
// One frame of the main-menu button animation (selected button grows and
// wobbles, the others settle and jitter).
void AnimateMenuButtons();
// One frame of credit scrolling: rows move up, fade in and out, row 22 stops
// at y 270, and the credits end when row 27 passes y 200.
void ScrollCreditRows();
// One frame of butterfly flight (spawning fresh records).
void MoveButterflies();

}  // namespace tw::frontend
