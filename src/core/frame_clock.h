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

}  // namespace tw::core
