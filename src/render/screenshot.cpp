#include "render/screenshot.h"

#include <cstdio>
#include <vector>

#include "config/options.h"
#include "platform/files.h"
#include "platform/video.h"

namespace tw::render {

std::string NextScreenshotPath() {
  for (int n = 1;; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "/screenshot%03d.bmp", n);
    std::string path = platform::ScreenshotDir() + name;
    if (!platform::FileExists(path)) return path;
  }
}

void TakeScreenshot() {
  if (!platform::HasDisplay() || platform::ScreenshotDir().empty()) return;
  int width = 640, height = 480;
  if (!config::GameOptions.FULL_SCREEN) platform::WindowClientSize(width, height);
  std::vector<std::uint32_t> pixels;
  if (!platform::ReadCanvasScaled(width, height, pixels)) return;
  platform::SaveBitmap(NextScreenshotPath(), width, height, pixels);
}

}  // namespace tw::render
