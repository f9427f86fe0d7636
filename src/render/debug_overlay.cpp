#include "render/debug_overlay.h"

namespace tw::render {

// Placeholder until the debug overlay lands.
void UpdateDebugText() {}

}  // namespace tw::render
