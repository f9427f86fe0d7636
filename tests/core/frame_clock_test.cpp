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

TEST(WaitFrame, WithoutWaitingTheBookkeepingStillRuns) {
  FakeClock clock;
  clock.Install();
  SetFrameWaitEnabled(false);
  const std::int64_t before = clock.now;
  for (int i = 0; i < 10; ++i) {
    Single target = 50.0f;
    WaitFrame(target);
    EXPECT_EQ(FrameTime, 0.02);
  }
  EXPECT_LT(clock.now - before, 10 * 20'000);
  EXPECT_EQ(clock.slept_us, 0);
}

}  // namespace
}  // namespace tw::core
