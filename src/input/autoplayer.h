// The autoplayer: steers the creature the way a good player would, for the
// attract replays and for measuring how the tuning plays. It acts only
// through the same intents the keyboard sets.
//
// Two players share one set of decisions:
// - the human player (the default) is held to what a person can do: it sees
//   only what the screen shows, reacts a fifth of a second late, presses no
//   more than five keys a second in all and holds each press at least 80 ms;
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
// five presses a second with both hands together, a pace a person keeps up
// for minutes. Holding a walk key down is not a press; starting to hold it
// is. A bomb counts when it goes off, not when it is asked for.
inline constexpr int kHumanPressGap = 10;
// A key pressed is held at least this long (80 ms): a quicker tap is not
// what a person's finger does.
inline constexpr int kHumanHoldFrames = 4;

// Forgets the previous game's plan and counts; call when a game starts.
void ResetAutoplayer();
void SetAutoplayStyle(AutoplayStyle style);
AutoplayStyle CurrentAutoplayStyle();
// The human player's gap between presses (frames; at least 1), for measuring
// a slower or quicker person. kHumanPressGap unless set.
void SetHumanPressGap(int frames);
int HumanPressGap();

// Once per game frame, after the keyboard has been read and before the world
// steps: walks, jumps, brakes and bombs by setting the intents.
void Autoplay();

// What the hands did in the current game, for the run's report.
struct AutoplayCounts {
  long presses = 0;
  long shortestGap = -1;   // frames between the two closest presses; -1 with fewer than two
  long shortestHold = -1;  // frames the briefest finished press was held; -1 with none
  long left = 0, right = 0, up = 0, bomb = 0;  // presses per key
};
AutoplayCounts AutoplayPressCounts();

}  // namespace tw::input
