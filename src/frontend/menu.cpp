#include "frontend/menu.h"

#include "frontend/menu_screens.h"
#include "render/device.h"
#include "render/draw.h"

namespace tw::frontend {

std::string MenuScreen;
Integer MenuItem = 0;
bool NewGamePending = false;
Single MenuFade = 0;
Single IdleFrames = 0;
Single ReturnFade = 0;

// Until the menu lands, a menu frame draws a plain background so the window
// is visibly alive.
void MenuFrame() {
  render::FillCanvas(0xFF2A6FB0u);
  render::EndFrame();
}

// Until the menu screens land the overlay is a plain darkening.
void DrawMenuBackground(Single alpha) {
  const int a = num::CLng(static_cast<double>(alpha) * 2.55);
  render::FillCanvas(static_cast<std::uint32_t>(a < 0 ? 0 : (a > 255 ? 255 : a)) << 24);
}

}  // namespace tw::frontend
