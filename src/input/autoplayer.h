// The autoplayer: steers the creature the way a good player would, for the
// attract replays and for measuring how the tuning plays. It acts only
// through the same intents the keyboard sets.
//
// Two players share one set of decisions:
// - the human player (the default) is held to what a person can do: it sees
//   only what the screen shows, reacts a fifth of a second late and presses
//   no more than about six keys a second in all;
// - the sharp player sees the whole shaft and the creature's exact speed, and
//   taps each key up to seven times a second. It plays far better than anyone
//   can and is kept to compare tunings with.
#pragma once

namespace tw::input {

enum class AutoplayStyle { Human, Sharp };

// The sharp player: fewest frames between two presses of the same key.
inline constexpr int kAutoplayPressGap = 7;

// The human player's limits (50 frames a second).
// Decisions in frame f are made from what the screen showed in frame f - 10:
// a person's reaction time is about 200 ms.
inline constexpr int kHumanReactionFrames = 10;
// At least this many frames between any two new presses, whatever the keys:
// about six presses a second with both hands together. Holding a walk key
// down is not a press; starting to hold it is.
inline constexpr int kHumanPressGap = 8;

// Forgets the previous game's plan and counts; call when a game starts.
void ResetAutoplayer();
void SetAutoplayStyle(AutoplayStyle style);
AutoplayStyle CurrentAutoplayStyle();

// Once per game frame, after the keyboard has been read and before the world
// steps: walks, jumps, brakes and bombs by setting the intents.
void Autoplay();

// What the hands did in the current game, for the run's report.
struct AutoplayCounts {
  long presses = 0;
  long shortestGap = -1;  // frames between the two closest presses; -1 with fewer than two
};
AutoplayCounts AutoplayPressCounts();

}  // namespace tw::input
