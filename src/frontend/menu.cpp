#include "frontend/menu.h"

#include "render/device.h"
#include "render/draw.h"

namespace tw::frontend {

// Until the menu lands, a menu frame draws a plain background so the window
// is visibly alive.
void MenuFrame() {
  render::FillCanvas(0xFF2A6FB0u);
  render::EndFrame();
}

}  // namespace tw::frontend
