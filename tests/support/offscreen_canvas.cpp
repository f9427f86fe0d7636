#include "offscreen_canvas.h"

#include "platform/video.h"
#include "render/draw.h"

namespace tw::test {

bool OpenOffscreenCanvas() {
  platform::SetVideoBackend(platform::VideoBackend::Offscreen);
  platform::VideoConfig config;
  config.backend = platform::VideoBackend::Offscreen;
  if (!platform::OpenDisplay(config)) return false;
  render::SetDrawColor(255, 255, 255);
  render::FillCanvas(0xFF000000u);
  return true;
}

void CloseOffscreenCanvas() { platform::CloseDisplay(); }

CanvasShot::CanvasShot() { EXPECT_TRUE(platform::ReadCanvas(pixels, width, height)); }

std::uint32_t CanvasShot::operator()(int x, int y) const {
  EXPECT_TRUE(x >= 0 && y >= 0 && x < width && y < height) << x << "," << y;
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return pixels[static_cast<std::size_t>(y * width + x)] | 0xFF000000u;
}

}  // namespace tw::test
