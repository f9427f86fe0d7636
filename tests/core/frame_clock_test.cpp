#include "core/frame_clock.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST(WaitFrame, HoldsTheFramePeriodAndFixesTheStepAlsoAfterASlowFrame) {
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

  // A slow frame (75 ms of work) waits once and still steps by the fixed amount.
  clock.now += 75'000;
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

// The browser's refresh can be any rate, with jitter; over ten seconds the
// world still gets 500 frames, never more than the cap in one call.
TEST(FramesDue, FiftyFramesASecondAtAnyRefreshRate) {
  constexpr std::int64_t kFreq = 1'000'000, kPeriod = kFreq / 50;
  for (const double hz : {30.0, 50.0, 59.94, 60.0, 75.0, 144.0, 240.0}) {
    SCOPED_TRACE(hz);
    FrameBank bank;
    std::int64_t now = 5'000'000;
    int frames = FramesDue(bank, now, kPeriod, 4);
    int most = 0;
    for (int call = 1; call <= static_cast<int>(10 * hz); ++call) {
      // +-1 ms of jitter around the nominal refresh time.
      const std::int64_t jitter = (call % 3 - 1) * 1000;
      now = 5'000'000 + static_cast<std::int64_t>(call * (kFreq / hz)) + jitter;
      const int n = FramesDue(bank, now, kPeriod, 4);
      most = std::max(most, n);
      frames += n;
    }
    EXPECT_NEAR(frames, 500, 1);
    EXPECT_LE(most, hz < 50 ? 3 : 2);
  }
}

TEST(FramesDue, AStallRunsTheCapAndDropsTheBacklog) {
  FrameBank bank;
  EXPECT_EQ(FramesDue(bank, 1'000'000, 20'000, 4), 1);
  EXPECT_EQ(FramesDue(bank, 1'010'000, 20'000, 4), 0);
  EXPECT_EQ(FramesDue(bank, 1'030'000, 20'000, 4), 1);  // 30 ms banked: one frame, 10 ms left
  EXPECT_EQ(FramesDue(bank, 3'030'000, 20'000, 4), 4);  // two seconds hidden
  EXPECT_EQ(FramesDue(bank, 3'045'000, 20'000, 4), 0);  // nothing carried over
  EXPECT_EQ(FramesDue(bank, 3'050'000, 20'000, 4), 1);
}

}  // namespace
}  // namespace tw::core
