// Ctrl-C and termination requests, turned into an orderly stop: the game
// finishes its frame and shuts down as after a window close, so nothing that
// is saved at shut-down (a recording under way) is lost.
#pragma once

namespace tw::platform {

// Catches SIGINT and SIGTERM from now on. A second request while the first
// is still pending ends the process at once, as usual.
void CatchInterrupts();
// True once an interrupt has arrived.
bool InterruptRequested();

}  // namespace tw::platform
