#include "render/debug_overlay.h"

#include <charconv>
#include <string_view>

#include "config/tuning.h"
#include "core/frame_clock.h"
#include "input/controls.h"
#include "render/catalogue.h"
#include "render/device.h"
#include "render/draw.h"
#include "world/grid.h"
#include "world/player.h"

namespace tw::render {

DebugWindowState DebugWindow{};

namespace {

constexpr int kLineHeight = 12;

// Appends a number in its shortest decimal form; the text's capacity is kept
// from frame to frame, so this does not allocate once it has grown.
void AppendNumber(std::string& out, Single v) {
  char buf[40];
  if (const char* end = num::ShortestChars(buf, buf + sizeof buf, v)) out.append(buf, static_cast<std::size_t>(end - buf));
}
void AppendNumber(std::string& out, long v) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  if (ec == std::errc()) out.append(buf, end);
}

long CellOf(Single px) { return num::CLng(static_cast<double>(px)) / num::CLng(world::TileSize); }

}  // namespace

void UpdateDebugText() {
  if (!core::DebugWindowVisible) return;
  DebugWindowState& w = DebugWindow;
  if (w.X == 0.0f) {
    w.Width = 110;
    w.Height = 55;
    w.X = static_cast<Single>(Display.CanvasWidth - 110);
    w.Y = static_cast<Single>(Display.CanvasHeight - 55);
  }
  std::string& t = w.Text;
  t.reserve(160);
  t.clear();
  t += "FPS: ";
  AppendNumber(t, core::FrameClock.Fps);
  t += " (";
  AppendNumber(t, static_cast<long>(num::FloorToLong(static_cast<double>(core::FrameClock.SpinRate))));
  t += ")\r\n";
  t += "Played times: ";
  AppendNumber(t, static_cast<long>(config::PlayedGames));
  t += "\r\n";
  for (int i = 0; i < 17; ++i) t += "\xC2\xBB";  // U+00BB, a rule of double angle marks
  t += "\r\n";
  t += "P.position: ";
  AppendNumber(t, CellOf(world::Player.X));
  t += "x";
  AppendNumber(t, CellOf(world::Player.Y));
  t += "\r\n";
}

void DrawDebugWindow() {
  const DebugWindowState& w = DebugWindow;
  // Not placed yet (shown while paused, before its text was first built):
  // a zero size would mean the picture's own size, so nothing is drawn.
  if (!core::DebugWindowVisible || w.Width == 0) return;
  DrawSprite(TexDebugWindow, w.X, w.Y, 129, 257, 0, 80, w.Width, w.Height);
  // The text face draws one line at a time: the lines go down one by one.
  const Integer left = num::CInt(static_cast<double>(w.X) + 4.0);
  const Integer top = num::CInt(static_cast<double>(w.Y) + 3.0);
  std::string_view rest = w.Text;
  for (int line = 0; !rest.empty(); ++line) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view text = rest.substr(0, end);
    const int y = top + line * kLineHeight;
    DrawFontText(DebugFont, left, static_cast<Integer>(y), w.Width,
                 static_cast<Integer>(w.Height - line * kLineHeight), text, 0xFFFFFFFFu, 0);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 2);
  }
  DrawFontText(LabelFont, static_cast<Integer>(Display.CanvasWidth - 152),
               num::CInt(static_cast<double>(w.Y) - 15.0), 150, 15, "Press ESC to Exit", 0xFFFF0000u, 2);
}

}  // namespace tw::render
