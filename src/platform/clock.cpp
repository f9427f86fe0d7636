#include "platform/clock.h"

#ifndef __EMSCRIPTEN__
#include <sys/prctl.h>
#endif
#include <sys/resource.h>
#include <time.h>

namespace tw::platform {

std::int64_t PerformanceCounter() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

std::int64_t PerformanceFrequency() { return 1000000000LL; }

void SleepMicroseconds(std::int64_t us) {
  if (us <= 0) return;
#ifndef __EMSCRIPTEN__  // the browser never sleeps the game
  // The default timer slack (50 us) would make every wake-up late by that much.
  static const bool slack_set = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
  (void)slack_set;
#endif
  timespec ts{static_cast<time_t>(us / 1000000), static_cast<long>((us % 1000000) * 1000)};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

double ProcessCpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace tw::platform
