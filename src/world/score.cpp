#include "world/score.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "world/player.h"

namespace tw::world {

Single Score = 0;
Single StayAliveTotal = 0;
Single FallPoints = 0;
Single ComboCount = 0;
Single ComboMultiplier = 1.0f;
std::array<ScorePopup, kPopupSlots> ScorePopups{};

namespace {

// A tuning file may give points near the float limit: totals then stop at the
// largest finite value instead of turning into an infinity (or, from two
// opposite infinities, NaN) that would be shown and saved.
void KeepFinite(Single& v) {
  constexpr Single kMax = std::numeric_limits<Single>::max();
  if (std::isnan(v)) v = 0;
  v = std::clamp(v, -kMax, kMax);
}

}  // namespace

void ScoreStep(std::string_view sound) {
  if (core::GameOver) return;
  const auto& t = config::Tuning;
  if (sound == "brick_push") {
    Score += t.Hit_PushTile;
  } else if (sound == "brick_smash") {
    Score += t.Hot_SmashTile;
  } else {
    // Staying alive only counts once the shaft has started to scroll (the
    // creature has dug its first rows: a game nobody plays earns nothing),
    // and not at all while a level's view stands still, as at the bottom,
    // where waiting instead of finishing would outscore a game played to the end.
    const std::size_t level = static_cast<std::size_t>(std::clamp<int>(core::CurrentLevel, 0, 11));
    const bool standing = level >= 1 && !(config::Levels[level].ScreenSpeed > 0.0f);
    if (core::ScrollY < 0.0f && !standing) {
      StayAliveTotal = static_cast<Single>(static_cast<double>(StayAliveTotal) +
                                           static_cast<double>(t.Staying_Alive) * core::FrameTime);
    }
    if (Player.Airborne && !config::GameOptions.GameMode_Story) {
      // Speed factor times speed is a Single product; only the step time is a Double.
      const Single perSecond = t.Falling_Speed * Player.VelocityY;
      FallPoints = static_cast<Single>(static_cast<double>(FallPoints) +
                                       static_cast<double>(perSecond) * core::FrameTime);
    }
    KeepFinite(StayAliveTotal);
    KeepFinite(FallPoints);
    Score = (standing ? Single{0} : StayAliveTotal) + Score + FallPoints;
    FallPoints = 0;
  }
  KeepFinite(Score);
}

void ShowScorePopup(Single x, Single y, std::string_view text) {
  if (core::CurrentLevel < 1) return;  // no popups before the first level starts
  for (std::size_t i = 1; i < ScorePopups.size(); ++i) {
    ScorePopup& p = ScorePopups[i];
    if (p.Active) continue;
    p.Active = true;
    p.X = std::floor(x);
    p.Y = std::floor(y);
    p.Alpha = 100;
    p.Text = std::string(text);
    return;
  }
}

void UpdateScorePopups() {
  if (core::CurrentLevel < 1) return;
  for (std::size_t i = 1; i < ScorePopups.size(); ++i) {
    ScorePopup& p = ScorePopups[i];
    if (!p.Active) continue;
    p.Alpha = static_cast<Integer>(p.Alpha - 2);
    if (p.Alpha < 1) p.Active = false;
    p.Y -= 2.0f;
  }
}

void ResetScoreAccumulators() {
  Score = 0;
  StayAliveTotal = 0;
  FallPoints = 0;
  ComboCount = 0;
}

std::string PointsText(Single points) {
  if (!std::isfinite(points)) return "0";
  if (points == std::trunc(points) && std::fabs(points) < 1e9f) {
    return std::to_string(static_cast<long long>(points));
  }
  return num::ShortestText(points);
}

}  // namespace tw::world
