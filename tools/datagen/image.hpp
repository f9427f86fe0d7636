// Small float raster used by the data generator: premultiplied RGBA pixels,
// shapes described by signed distance functions (negative inside, in pixels)
// so every edge is anti-aliased by its exact coverage.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace datagen {

struct Color {
  float r = 0, g = 0, b = 0, a = 1;  // straight (not premultiplied), 0..1
};

Color rgb(int r, int g, int b, float a = 1.0f);
Color mix(const Color& a, const Color& b, float t);
Color shade(const Color& c, float k);    // k < 1 darkens, > 1 lightens towards white
Color withAlpha(const Color& c, float a);

using Sdf = std::function<float(float, float)>;
using Paint = std::function<Color(float, float)>;

struct Image {
  int w = 0, h = 0;
  std::vector<float> px;  // premultiplied RGBA, row-major

  Image() = default;
  Image(int width, int height);
  float* at(int x, int y) { return &px[(static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)) * 4]; }
  const float* at(int x, int y) const { return &px[(static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)) * 4]; }
  Color get(int x, int y) const;  // straight colour
  void blend(int x, int y, const Color& c, float coverage);  // source-over
  void clear(const Color& c);
};

// --- distance functions -------------------------------------------------
Sdf circle(float cx, float cy, float r);
Sdf ellipse(float cx, float cy, float rx, float ry);
Sdf box(float x0, float y0, float x1, float y1, float radius = 0);
Sdf capsule(float ax, float ay, float bx, float by, float r);
Sdf polygon(std::vector<float> xy);  // x0,y0,x1,y1,...
Sdf star(float cx, float cy, float rOuter, float rInner, int points, float turnDeg = 0);
Sdf unite(Sdf a, Sdf b);
Sdf intersect(Sdf a, Sdf b);
Sdf subtract(Sdf a, Sdf b);
Sdf grow(Sdf a, float by);        // positive grows the shape
Sdf ring(Sdf a, float halfWidth);  // the band around a's edge
Sdf rotated(Sdf a, float cx, float cy, float deg);
Sdf smoothUnite(Sdf a, Sdf b, float k);

// --- paints ---------------------------------------------------------------
Paint solid(const Color& c);
Paint linear(float x0, float y0, const Color& c0, float x1, float y1, const Color& c1);
Paint radial(float cx, float cy, float r, const Color& c0, const Color& c1);

// --- drawing ----------------------------------------------------------------
// Coverage is clamp(0.5 - d / soft, 0, 1): soft = 1 gives a crisp anti-aliased
// edge, larger values a blurred one (glows, shadows).
void fill(Image& img, const Sdf& shape, const Paint& paint, float opacity = 1.0f, float soft = 1.0f);
void fill(Image& img, const Sdf& shape, const Color& c, float opacity = 1.0f, float soft = 1.0f);
// The cartoon look: the shape in `outline`, its inside (shrunk by width) in `paint`.
void outlined(Image& img, const Sdf& shape, const Paint& paint, const Color& outline, float width = 1.5f);
// Only the part of `shape` that lies inside `clip`.
void fillClipped(Image& img, const Sdf& shape, const Sdf& clip, const Paint& paint, float opacity = 1.0f);
// Draws `src` with its top-left at (x, y), scaled, optionally multiplied by a tint.
void blit(Image& dst, const Image& src, float x, float y, float scale = 1.0f, float opacity = 1.0f);
Image scaled(const Image& src, int w, int h);  // area-averaged resampling

// --- noise ----------------------------------------------------------------
float hash01(int x, int y, int seed);
float valueNoise(float x, float y, int seed);  // smooth, 0..1
float fbm(float x, float y, int seed, int octaves = 4);

struct Rng {  // deterministic on every platform
  std::uint32_t s;
  explicit Rng(std::uint32_t seed) : s(seed * 2654435761u + 12345u) {}
  std::uint32_t next();
  float uniform();                      // [0, 1)
  float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
};

}  // namespace datagen
