#include "render/screenshot.h"

namespace tw::render {

// Filled in with the debug overlay; until then a screenshot press does nothing.
void TakeScreenshot() {}

}  // namespace tw::render
