// Recording a game to a file and playing it back.
#pragma once

namespace tw::replay {

void ReplayStep();

}  // namespace tw::replay
