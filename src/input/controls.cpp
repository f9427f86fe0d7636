#include "input/controls.h"

namespace tw::input {

// Placeholder until the controls land.
void ReadControls() {}

}  // namespace tw::input
