#include "render/device.h"

#include <cmath>
#include <utility>

#include "input/keyboard.h"
#include "config/options.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/video.h"
#include "render/bitmap_font.h"
#include "render/catalogue.h"
#include "render/draw.h"
#include "render/device_hooks.h"

namespace tw::render {

DisplaySettings Display{};
Single Pi = 0;
Single DegToRad = 0;

namespace {

DeviceHooks g_hooks{
    [](const platform::VideoConfig& config) { return platform::OpenDisplay(config); },
    [](const char* text) { platform::ShowMessage("Tumblewell", text); },
};

}  // namespace

void SetDeviceHooks(DeviceHooks hooks) { g_hooks = std::move(hooks); }

bool InitGraphics() {
  platform::VideoConfig config;
  config.window_width = Display.WindowWidth;
  config.window_height = Display.WindowHeight;
  config.canvas_width = Display.CanvasWidth;
  config.canvas_height = Display.CanvasHeight;
  config.title = "Tumblewell";
  config.integer_scale = config::GameOptions.IntegerScale;

  Pi = 4.0f * std::atan(1.0f);
  DegToRad = Pi / 180.0f;

  // Full screen first when chosen; one windowed retry after telling the player.
  bool fallback = false;
  for (;;) {
    config.full_screen = Display.FullScreen && !fallback;
    if (g_hooks.open_display(config)) break;
    if (fallback) return false;
    fallback = true;
    g_hooks.show_message("DirectX Error, trying windowed mode!");
  }

  SetDrawColor(255, 255, 255);
  input::InitKeyboard();
  LoadFontDescription();
  CreateTextFonts();
  LoadSounds();
  LoadAllTextures();
  return true;
}

void EndFrame() {
  input::ReadKeyboard();  // a failed read keeps last frame's table
  platform::Present();
}

void ShutdownGraphics() {
  ReleaseAllTextures();
  platform::CloseControllers();
  platform::CloseDisplay();
}

}  // namespace tw::render
