// The score: survival, falling speed (arcade), knocked and smashed tiles,
// first touches and bonuses; and the small rising numbers that show points.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/numeric.h"

namespace tw::world {

extern Single Score;
// Running total of the staying-alive reward; each step adds all of it.
extern Single StayAliveTotal;
// Falling points gathered in the current step.
extern Single FallPoints;
// Read from the tuning file but never counted: only ever reset.
extern Single ComboCount;
extern Single ComboMultiplier;

struct ScorePopup {
  bool Active = false;
  Single X = 0;  // canvas pixels, whole numbers
  Single Y = 0;
  std::string Text;
  Integer Alpha = 0;
};
// Entries 1..20; entry 0 is never used.
inline constexpr int kPopupSlots = 21;
extern std::array<ScorePopup, kPopupSlots> ScorePopups;

// The per-step update (empty name) or the push / smash reward
// ("brick_push", "brick_smash").
void ScoreStep(std::string_view sound);
void ShowScorePopup(Single x, Single y, std::string_view text);
// Rises and fades the popups.
void UpdateScorePopups();
// Score, stay-alive total, falling points and combo count to 0.
void ResetScoreAccumulators();
// Points as a popup shows them: the shortest decimal form.
std::string PointsText(Single points);

}  // namespace tw::world
