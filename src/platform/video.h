// Window, canvas and drawing. The game draws into a 640 x 480 canvas that is
// never cleared between frames; presenting shows it as large as the window
// (or screen) allows while keeping its 4:3 shape, with black bars around.
//
// Three back ends: a real window; "offscreen" (the software renderer with no
// visible window, for pixel checks and screenshots); and none at all
// (headless), where every call here is a silent no-op.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw::platform {

enum class VideoBackend { Headless, Window, Offscreen };

struct VideoConfig {
  VideoBackend backend = VideoBackend::Window;
  int window_width = 800;
  int window_height = 600;
  int canvas_width = 640;
  int canvas_height = 480;
  bool full_screen = false;
  // Only whole-number enlargements of the canvas (sharp pixels, wider bars).
  bool integer_scale = false;
  std::string title = "Tumblewell";
};

// Chooses the back end; call before anything else here.
void SetVideoBackend(VideoBackend backend);
VideoBackend GetVideoBackend();

// Creates (or re-creates, for a windowed retry) the window, renderer and
// canvas. False when the display could not be made in the requested mode.
bool OpenDisplay(const VideoConfig& config);
void CloseDisplay();
// Switches the open window between full screen (the desktop's resolution)
// and a window at once. False when the window system refused.
bool SetFullScreen(bool full_screen);
bool IsFullScreen();
// Where the canvas is shown in the window's drawable area, in pixels:
// centred, 4:3, as large as fits (whole-number multiples only with
// integer_scale; a window smaller than the canvas still gets the largest fit).
struct ShownRect {
  int x = 0, y = 0, width = 0, height = 0;
};
ShownRect FitCanvas(int out_width, int out_height, int canvas_width, int canvas_height, bool integer_scale);
bool HasDisplay();
// Counts the displays opened so far; textures made for an earlier one are gone.
int DisplayGeneration();
// One-line message box with an OK button (stderr when there is no desktop).
void ShowMessage(std::string_view title, std::string_view text);
void SetCursorVisible(bool visible);
void WarpCursor(int x, int y);

// Textures. Handle 0 is the empty slot: drawing it does nothing.
using TextureHandle = std::int32_t;
// Decodes a BMP, JPG or PNG file held in memory (the caller has checked the
// size it claims). With a colour key (0xRRGGBB), texels of exactly that
// colour become fully transparent black. 0 when it does not decode.
TextureHandle LoadImageTexture(std::string_view bytes, bool use_color_key, std::uint32_t color_key,
                               bool point_filter);
// A texture from 32-bit pixels in memory, 0xAARRGGBB per pixel, rows top first.
TextureHandle CreateTexture(int width, int height, const std::uint32_t* argb, bool point_filter);
void DestroyTexture(TextureHandle texture);
bool TextureSize(TextureHandle texture, int& width, int& height);

// One textured quad: the source rectangle of the texture (texels) drawn at
// (x, y) with size (width, height) on the canvas, turned by `angle_ccw`
// degrees anticlockwise about (center_x, center_y) (relative to x, y),
// modulated by `argb` (texel colour x colour / 255, texel alpha x alpha /
// 255) and blended source-alpha over the canvas.
struct Quad {
  int src_x = 0, src_y = 0, src_w = 0, src_h = 0;
  float x = 0, y = 0, width = 0, height = 0;
  float angle_ccw = 0;
  float center_x = 0, center_y = 0;
  std::uint32_t argb = 0xFFFFFFFFu;
};
void DrawQuad(TextureHandle texture, const Quad& quad);
// Offscreen, turned quads and modulated copies are drawn by our own code
// straight into the canvas (on by default). Off, everything goes through the
// renderer as a window's software renderer does: the reference the pixel
// tests and the benchmarks compare against.
void SetSoftwareFastPaths(bool enabled);

// System-font text. Handle 0 draws nothing.
using FontHandle = std::int32_t;
// The sans-serif text face at `points` (96 dots per inch).
FontHandle OpenTextFont(int points);
// Text clipped to the rectangle; align 0 left, 2 right.
void DrawText(FontHandle font, int left, int top, int width, int height, std::string_view text,
              std::uint32_t argb, int align);

// Shows the canvas in the window (offscreen: nothing to show).
void Present();
// Canvas pixels, 0xAARRGGBB, rows top first.
bool ReadCanvas(std::vector<std::uint32_t>& pixels, int& width, int& height);
// Canvas pixels scaled to width x height with the same filter the window uses.
bool ReadCanvasScaled(int width, int height, std::vector<std::uint32_t>& pixels);
// Size of the picture as shown in the window, in pixels (the canvas size
// offscreen).
void WindowClientSize(int& width, int& height);
// Writes 32-bit pixels as a Windows bitmap (24 bits per pixel).
bool SaveBitmap(const std::string& path, int width, int height, const std::vector<std::uint32_t>& argb);

}  // namespace tw::platform
