// Our own drawing straight into a software canvas: the two cases the software
// renderer handles slowly (turned pictures, and plain copies with a colour or
// opacity below full). Free of SDL: the canvas and the pictures are plain
// 32-bit pixel arrays (0xAARRGGBB).
//
// The results follow the renderer's own: a modulated texel is channel x
// modulation / 255, and it is blended over the canvas as the renderer's
// source-alpha blend does, so a picture drawn here matches the one the
// renderer would draw within a level per channel.
#pragma once

#include <cstdint>
#include <vector>

namespace tw::platform::soft {

struct Canvas {
  std::uint32_t* pixels = nullptr;
  int width = 0, height = 0;
  int pitch = 0;  // in pixels
};

struct Picture {
  const std::uint32_t* texels = nullptr;
  int width = 0, height = 0;  // rows are `width` texels apart
};

// A source rectangle drawn width x height at (x, y), turned `angle_ccw`
// degrees anticlockwise about (center_x, center_y) relative to (x, y), each
// canvas pixel taking the nearest texel under its centre. Only the pixels
// inside the turned rectangle are visited, row by row, with fixed-point
// stepping. False when the quad is not one this handles (mirrored, empty,
// source outside the picture, absurd size).
struct TurnedQuad {
  int src_x = 0, src_y = 0, src_w = 0, src_h = 0;
  double x = 0, y = 0, width = 0, height = 0;
  double angle_ccw = 0;
  double center_x = 0, center_y = 0;
  std::uint32_t argb = 0xFFFFFFFFu;
};
bool DrawTurned(const Canvas& canvas, const Picture& picture, const TurnedQuad& quad);

// A turned quad kept as a picture of its own: the modulated texels over the
// canvas area it covers (0 outside the quad), to be blended again as long as
// its angle holds. For large pictures turning slowly (the menu background),
// sampled once every few frames instead of every frame.
struct TurnedCopy {
  std::vector<std::uint32_t> pixels;
  int x0 = 0, y0 = 0, width = 0, height = 0;
};
// Fills `copy` with the quad as DrawTurned would draw it on `canvas` (only
// its size is used). False as for DrawTurned.
bool RenderTurned(const Canvas& canvas, const Picture& picture, const TurnedQuad& quad, TurnedCopy& copy);
// Blends the copy over the canvas, as DrawTurned blends, moved by (dx, dy)
// whole pixels from where it was made; clipped to the canvas.
void BlendCopy(const Canvas& canvas, const TurnedCopy& copy, int dx = 0, int dy = 0);

// An unscaled, unturned copy of a source rectangle to (x, y), modulated by
// argb and blended over the canvas; clipped to the canvas.
void BlitModulated(const Canvas& canvas, const Picture& picture, int src_x, int src_y, int src_w, int src_h,
                   int x, int y, std::uint32_t argb);

}  // namespace tw::platform::soft
