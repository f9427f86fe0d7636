#include "render/device.h"

#include <cmath>
#include <utility>

#include "config/options.h"
#include "input/keyboard.h"
#include "config/saves.h"
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

namespace {

// A save that failed: a band across the top of the canvas, over the menu
// and the game alike, for a few seconds; play goes on under it.
void DrawSaveNotice() {
  const config::SaveNotice& n = config::CurrentSaveNotice();
  if (n.frames_left <= 0) return;
  // Fades out over its last second.
  const Integer alpha = static_cast<Integer>(n.frames_left >= 50 ? 100 : n.frames_left * 2);
  DrawSprite(TexBackgroundBlack, 0, 6, 1, 1, 0, static_cast<Integer>(alpha * 85 / 100), 640, 58);
  DrawSprite(TexBackgroundRed, 0, 6, 1, 1, 0, static_cast<Integer>(alpha * 60 / 100), 640, 4);
  DrawSprite(TexBackgroundRed, 0, 60, 1, 1, 0, static_cast<Integer>(alpha * 60 / 100), 640, 4);
  const auto centred = [](std::string_view text, Single scale) {
    return 320.0f - static_cast<Single>(text.size()) * static_cast<Single>(Glyphs.width) * scale / 2.0f;
  };
  const Single big = n.line1.size() > 32 ? 0.7f : 0.9f;
  DrawBitmapText(n.line1, centred(n.line1, big), 12, TexFontBlue, big, 0, alpha, 255, 110, 90);
  const Single small = n.line2.size() > 48 ? 0.45f : 0.6f;
  DrawBitmapText(n.line2, centred(n.line2, small), 38, TexFontBlue, small, 0, alpha, 255, 255, 255);
}

}  // namespace

void EndFrame() {
  DrawSaveNotice();
  platform::Present();
}

void ShutdownGraphics() {
  ReleaseAllTextures();
  platform::CloseControllers();
  platform::CloseDisplay();
}

}  // namespace tw::render
