#include "replay/replay.h"

namespace tw::replay {

// Placeholder until replays land.
void ReplayStep() {}

}  // namespace tw::replay
