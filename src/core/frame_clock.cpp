#include "core/frame_clock.h"

#include <algorithm>
#include <cmath>

#include "core/game_state.h"
#include "platform/clock.h"

namespace tw::core {

FrameClockState FrameClock{};

namespace {

ClockSource g_source{platform::PerformanceCounter, platform::PerformanceFrequency,
                     platform::SleepMicroseconds};
bool g_wait_enabled = true;

// Sleeping is coarse: wake this long before the deadline and spin the rest,
// which keeps the pacing of a pure busy-wait at a small share of its CPU cost.
constexpr std::int64_t kSpinMicroseconds = 700;

// A frame this many periods past its deadline is a stall (a dragged window,
// a suspended machine): the clock starts afresh instead of racing through
// the missed frames.
constexpr std::int64_t kStallPeriods = 4;

}  // namespace

void SetClockSource(ClockSource source) { g_source = std::move(source); }
void SetFrameWaitEnabled(bool enabled) { g_wait_enabled = enabled; }

void WaitFrame(Single& targetFps) {
  FrameClockState& c = FrameClock;
  if (c.Frequency == 0) c.Frequency = g_source.frequency();
  if (c.FrameStart == 0) c.FrameStart = g_source.counter();
  targetFps = 1.0f / targetFps;
  const Single period = targetFps;
  const double freq = static_cast<double>(c.Frequency);
  do {
    c.Now = g_source.counter();
    FrameTime = static_cast<double>(c.Now - c.FrameStart) / freq;
    c.SpinCount += 1;
    if (!g_wait_enabled) break;
    if (static_cast<Single>(FrameTime) < period && g_source.sleep) {
      const double left_us = (static_cast<double>(period) - FrameTime) * 1e6;
      if (left_us > kSpinMicroseconds) {
        g_source.sleep(static_cast<std::int64_t>(left_us) - kSpinMicroseconds);
      }
    }
  } while (static_cast<Single>(FrameTime) < period);
  FrameTime = 2.0 / 100.0;
  // The next frame is due one period after this one was due, not after the
  // wait happened to end: waking late then costs the next wait that much
  // instead of pushing every later frame back, so the rate holds exactly.
  const std::int64_t now = g_source.counter();
  const auto period_ticks = static_cast<std::int64_t>(std::llround(static_cast<double>(period) * freq));
  const std::int64_t due = c.FrameStart + period_ticks;
  if (!g_wait_enabled || period_ticks <= 0 || now - due > kStallPeriods * period_ticks) {
    c.FrameStart = now;
  } else {
    c.FrameStart = due;
  }
  if (static_cast<double>(c.FrameStart - c.FpsStart) / freq < 1.0) {
    c.FrameCount += 1;
  } else {
    c.Fps = c.FrameCount;
    c.FrameCount = 0;
    c.SpinRate = c.SpinCount / 1000.0f;
    c.SpinCount = 0;
    c.FpsStart = g_source.counter();
  }
}

int FramesDue(FrameBank& bank, std::int64_t now, std::int64_t period_ticks, int cap) {
  if (bank.last == 0 || period_ticks <= 0) {
    bank = FrameBank{now, 0};
    return 1;
  }
  bank.banked += std::max<std::int64_t>(0, now - bank.last);
  bank.last = now;
  const std::int64_t due = bank.banked / period_ticks;
  if (due > cap) {
    bank.banked = 0;
    return cap;
  }
  bank.banked -= due * period_ticks;
  return static_cast<int>(due);
}

}  // namespace tw::core
