// The frame clock: holds the loop at a fixed rate and keeps the frame-rate
// figures the debug window shows.
#pragma once

#include <cstdint>
#include <functional>

#include "core/numeric.h"

namespace tw::core {

struct FrameClockState {
  std::int64_t Frequency = 0;
  std::int64_t FrameStart = 0;
  std::int64_t Now = 0;
  std::int64_t FpsStart = 0;
  Single FrameCount = 0;
  Single SpinCount = 0;
  Single Fps = 0;
  Single SpinRate = 0;
};
extern FrameClockState FrameClock;

// Where the clock gets its time; tests put in their own.
struct ClockSource {
  std::function<std::int64_t()> counter;
  std::function<std::int64_t()> frequency;
  // Sleeps about this many microseconds; may be empty (pure spinning).
  std::function<void(std::int64_t)> sleep;
};
void SetClockSource(ClockSource source);
// With no wait the loop runs as fast as it can; the bookkeeping stays the same.
void SetFrameWaitEnabled(bool enabled);

// Waits until one frame period has passed since the previous frame started.
// A frame starts when it was due (the previous start plus one period), so a
// late wake-up does not delay the frames after it; after a stall of several
// periods the clock starts again from the present.
// targetFps is replaced by its reciprocal (the period). Sets FrameTime to
// exactly 0.02 afterwards: the world always advances by the fixed step.
void WaitFrame(Single& targetFps);

// In the browser the page calls the game once per display refresh, at
// whatever rate the display has; the world still steps at exactly 50 Hz.
// The time since the last call is banked and spent in whole frame periods.
struct FrameBank {
  std::int64_t last = 0;    // counter at the last call (0: none yet)
  std::int64_t banked = 0;  // ticks not yet spent on a frame
};
// The frames to run now, 0 .. cap. The first call runs one. More than `cap`
// due (a hidden tab, a stall) runs `cap` and drops the rest of the backlog,
// as the desktop clock starts afresh after a stall.
int FramesDue(FrameBank& bank, std::int64_t now, std::int64_t period_ticks, int cap);

}  // namespace tw::core
