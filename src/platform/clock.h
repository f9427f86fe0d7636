// A monotonic high-resolution counter and a sleep, for the frame clock.
#pragma once

#include <cstdint>

namespace tw::platform {

std::int64_t PerformanceCounter();
std::int64_t PerformanceFrequency();
void SleepMicroseconds(std::int64_t us);
// CPU seconds used by this process so far (user + system).
double ProcessCpuSeconds();
// CPU seconds used by the calling thread so far.
double ThreadCpuSeconds();

}  // namespace tw::platform
