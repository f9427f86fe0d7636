#include "core/frame_clock.h"

#include <gtest/gtest.h>

#include "core/game_state.h"

namespace tw::core {
namespace {

// A fake counter at 1 MHz that advances by `step` on every read and by the
// requested time on every sleep.
struct FakeClock {
  std::int64_t now = 1'000'000;
  std::int64_t step = 1000;  // 1 ms per read
  int reads = 0;
  std::int64_t slept_us = 0;

  void Install() {
    SetClockSource({[this] {
                      ++reads;
                      now += step;
                      return now;
                    },
                    [] { return std::int64_t{1'000'000}; },
                    [this](std::int64_t us) {
                      slept_us += us;
                      now += us;
                    }});
  }
};

TEST(WaitFrame, HoldsTheFramePeriodAndFixesTheStep) {
  FakeClock clock;
  clock.Install();
  Single target = 50.0f;
  WaitFrame(target);
  EXPECT_FLOAT_EQ(target, 0.02f);  // replaced by its reciprocal
  EXPECT_EQ(FrameTime, 0.02);
  const std::int64_t start = FrameClock.FrameStart;

  target = 50.0f;
  WaitFrame(target);
  // The wait ended no earlier than 20 ms after the previous frame start.
  EXPECT_GE(FrameClock.Now - start, 20'000);
  EXPECT_LT(FrameClock.Now - start, 22'000);
  EXPECT_EQ(FrameTime, 0.02);
  // It slept most of the period instead of spinning through it.
  EXPECT_GT(clock.slept_us, 15'000);
  EXPECT_LT(clock.reads, 20);
}

TEST(WaitFrame, ASlowFrameWaitsOnceAndStillStepsByTheFixedAmount) {
  FakeClock clock;
  clock.Install();
  Single target = 50.0f;
  WaitFrame(target);
  clock.now += 75'000;  // the frame's work took 75 ms
  const Single spins_before = FrameClock.SpinCount;
  target = 50.0f;
  WaitFrame(target);
  EXPECT_EQ(FrameClock.SpinCount - spins_before, 1.0f);
  EXPECT_EQ(FrameTime, 0.02);
}

TEST(WaitFrame, LateWakeUpsDoNotAccumulateAndAStallStartsAfresh) {
  // Every sleep overshoots by 0.4 ms and every frame works 5 ms: a clock that
  // took each start from the end of the last wait would run slow.
  FakeClock clock;
  clock.step = 50;
  SetClockSource({[&clock] { return clock.now += clock.step; }, [] { return std::int64_t{1'000'000}; },
                  [&clock](std::int64_t us) { clock.now += us + 400; }});
  SetFrameWaitEnabled(true);
  Single target = 50.0f;
  WaitFrame(target);
  const std::int64_t first = clock.now;
  for (int i = 0; i < 500; ++i) {
    clock.now += 5'000;
    target = 50.0f;
    WaitFrame(target);
    EXPECT_EQ(FrameTime, 0.02);
  }
  const double mean_ms = static_cast<double>(clock.now - first) / 500.0 / 1000.0;
  EXPECT_NEAR(mean_ms, 20.0, 0.01);

  // One frame 30 ms late is made up by the next wait being shorter...
  clock.now += 30'000;
  target = 50.0f;
  WaitFrame(target);
  const std::int64_t after_late = clock.now;
  target = 50.0f;
  WaitFrame(target);
  EXPECT_LT(clock.now - after_late, 20'000 - 5'000);
  // ...but after a stall of a second the frames come a full period apart
  // again at once rather than all the missed frames in a burst.
  clock.now += 1'000'000;
  target = 50.0f;
  WaitFrame(target);
  const std::int64_t after_stall = clock.now;
  target = 50.0f;
  WaitFrame(target);
  EXPECT_GE(clock.now - after_stall, 20'000);
}

}  // namespace
}  // namespace tw::core
