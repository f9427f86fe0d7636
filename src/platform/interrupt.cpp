#include "platform/interrupt.h"

#include <csignal>

namespace tw::platform {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int signal_number) {
  g_interrupted = 1;
  // The next one is not caught: a game that no longer reaches the end of its
  // frame can still be stopped.
  std::signal(signal_number, SIG_DFL);
}

}  // namespace

void CatchInterrupts() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

bool InterruptRequested() { return g_interrupted != 0; }

}  // namespace tw::platform
