#include "core/frame_clock.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/game_state.h"

namespace tw::core {
namespace {

// A fake counter at 1 MHz that advances by `step` on every read and by the
// requested time (plus `overshoot`) on every sleep.
struct FakeClock {
  std::int64_t now = 1'000'000;
  std::int64_t step = 1000;  // 1 ms per read
  std::int64_t overshoot = 0;
  int reads = 0;
  std::int64_t slept_us = 0;

  void Install() {
    SetClockSource({[this] {
                      ++reads;
                      return now += step;
                    },
                    [] { return std::int64_t{1'000'000}; },
                    [this](std::int64_t us) {
                      slept_us += us;
                      now += us + overshoot;
                    }});
  }
  // One frame after `work_us` of work; the step it leaves.
  double Frame(std::int64_t work_us = 0) {
    now += work_us;
    Single target = 50.0f;
    WaitFrame(target);
    EXPECT_FLOAT_EQ(target, 0.02f);  // replaced by its reciprocal
    return FrameTime;
  }
};

TEST(WaitFrame, HoldsThePeriodAsleepWithAFixedStepWhateverTheFramesCost) {
  FakeClock clock;
  clock.Install();
  SetFrameWaitEnabled(true);
  EXPECT_EQ(clock.Frame(), 0.02);
  const std::int64_t start = FrameClock.FrameStart;
  EXPECT_EQ(clock.Frame(), 0.02);
  // The wait ended no earlier than 20 ms after the previous frame start, and
  // slept most of the period instead of spinning through it.
  EXPECT_GE(FrameClock.Now - start, 20'000);
  EXPECT_LT(FrameClock.Now - start, 22'000);
  EXPECT_GT(clock.slept_us, 15'000);
  EXPECT_LT(clock.reads, 20);

  // Every sleep overshooting by 0.4 ms and every frame working 5 ms: a clock
  // that took each start from the end of the last wait would run slow.
  clock.step = 50;
  clock.overshoot = 400;
  clock.Frame();
  const std::int64_t first = clock.now;
  for (int i = 0; i < 500; ++i) EXPECT_EQ(clock.Frame(5'000), 0.02);
  EXPECT_NEAR(static_cast<double>(clock.now - first) / 500.0 / 1000.0, 20.0, 0.01);
  // A slow frame (75 ms of work) waits once and still steps by the fixed amount.
  const Single spins_before = FrameClock.SpinCount;
  EXPECT_EQ(clock.Frame(75'000), 0.02);
  EXPECT_EQ(FrameClock.SpinCount - spins_before, 1.0f);
  // One frame 30 ms late is made up by the next wait being shorter...
  clock.Frame(30'000);
  std::int64_t before = clock.now;
  clock.Frame();
  EXPECT_LT(clock.now - before, 20'000 - 5'000);
  // ...but after a stall of a second the frames come a full period apart
  // again at once rather than all the missed frames in a burst.
  clock.Frame(1'000'000);
  before = clock.now;
  clock.Frame();
  EXPECT_GE(clock.now - before, 20'000);
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
