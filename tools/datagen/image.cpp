#include "image.hpp"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {
float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
constexpr float kPi = 3.14159265358979f;
}  // namespace

Color rgb(int r, int g, int b, float a) {
  return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, a};
}

Color mix(const Color& a, const Color& b, float t) {
  t = clamp01(t);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color shade(const Color& c, float k) {
  if (k <= 1) return {c.r * k, c.g * k, c.b * k, c.a};
  const float t = k - 1;
  return {c.r + (1 - c.r) * t, c.g + (1 - c.g) * t, c.b + (1 - c.b) * t, c.a};
}

Color withAlpha(const Color& c, float a) { return {c.r, c.g, c.b, a}; }

Image::Image(int width, int height) : w(width), h(height), px(static_cast<std::size_t>(width * height) * 4, 0.0f) {}

Color Image::get(int x, int y) const {
  const float* p = at(x, y);
  if (p[3] <= 0) return {0, 0, 0, 0};
  return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Image::blend(int x, int y, const Color& c, float coverage) {
  const float a = clamp01(c.a * coverage);
  if (a <= 0) return;
  float* p = at(x, y);
  const float k = 1 - a;
  p[0] = c.r * a + p[0] * k;
  p[1] = c.g * a + p[1] * k;
  p[2] = c.b * a + p[2] * k;
  p[3] = a + p[3] * k;
}

void Image::clear(const Color& c) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float* p = at(x, y);
      p[0] = c.r * c.a;
      p[1] = c.g * c.a;
      p[2] = c.b * c.a;
      p[3] = c.a;
    }
}

// --- distance functions ---------------------------------------------------

Sdf circle(float cx, float cy, float r) {
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Sdf ellipse(float cx, float cy, float rx, float ry) {
  // Distance scaled by the gradient length: accurate near the edge, which is
  // all the coverage computation needs.
  return [=](float x, float y) {
    const float px = (x - cx) / rx, py = (y - cy) / ry;
    const float f = std::sqrt(px * px + py * py);
    const float gx = px / rx, gy = py / ry;
    const float g = std::sqrt(gx * gx + gy * gy);
    if (f < 1e-6f) return -std::min(rx, ry);
    return (f - 1) * f / std::max(g, 1e-6f);
  };
}

Sdf box(float x0, float y0, float x1, float y1, float radius) {
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
  return [=](float x, float y) {
    const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - radius;
  };
}

Sdf capsule(float ax, float ay, float bx, float by, float r) {
  return [=](float x, float y) {
    const float pax = x - ax, pay = y - ay, bax = bx - ax, bay = by - ay;
    const float len2 = bax * bax + bay * bay;
    const float t = len2 > 0 ? clamp01((pax * bax + pay * bay) / len2) : 0;
    return std::hypot(pax - bax * t, pay - bay * t) - r;
  };
}

Sdf polygon(std::vector<float> v) {
  return [v = std::move(v)](float x, float y) {
    const std::size_t n = v.size() / 2;
    float d = 1e30f;
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
      const float xi = v[2 * i], yi = v[2 * i + 1], xj = v[2 * j], yj = v[2 * j + 1];
      const float ex = xj - xi, ey = yj - yi, wx = x - xi, wy = y - yi;
      const float len2 = ex * ex + ey * ey;
      const float t = len2 > 0 ? clamp01((wx * ex + wy * ey) / len2) : 0;
      d = std::min(d, std::hypot(wx - ex * t, wy - ey * t));
      if (((yi > y) != (yj > y)) && (x < (xj - xi) * (y - yi) / (yj - yi) + xi)) inside = !inside;
    }
    return inside ? -d : d;
  };
}

Sdf star(float cx, float cy, float rOuter, float rInner, int points, float turnDeg) {
  std::vector<float> v;
  for (int i = 0; i < points * 2; ++i) {
    const float ang = (turnDeg - 90) * kPi / 180 + static_cast<float>(i) * kPi / static_cast<float>(points);
    const float r = (i % 2 == 0) ? rOuter : rInner;
    v.push_back(cx + r * std::cos(ang));
    v.push_back(cy + r * std::sin(ang));
  }
  return polygon(std::move(v));
}

Sdf unite(Sdf a, Sdf b) {
  return [a = std::move(a), b = std::move(b)](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
Sdf intersect(Sdf a, Sdf b) {
  return [a = std::move(a), b = std::move(b)](float x, float y) { return std::max(a(x, y), b(x, y)); };
}
Sdf subtract(Sdf a, Sdf b) {
  return [a = std::move(a), b = std::move(b)](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf grow(Sdf a, float by) {
  return [a = std::move(a), by](float x, float y) { return a(x, y) - by; };
}
Sdf ring(Sdf a, float halfWidth) {
  return [a = std::move(a), halfWidth](float x, float y) { return std::fabs(a(x, y)) - halfWidth; };
}
Sdf rotated(Sdf a, float cx, float cy, float deg) {
  const float c = std::cos(-deg * kPi / 180), s = std::sin(-deg * kPi / 180);
  return [a = std::move(a), cx, cy, c, s](float x, float y) {
    const float dx = x - cx, dy = y - cy;
    return a(cx + dx * c - dy * s, cy + dx * s + dy * c);
  };
}
Sdf smoothUnite(Sdf a, Sdf b, float k) {
  return [a = std::move(a), b = std::move(b), k](float x, float y) {
    const float da = a(x, y), db = b(x, y);
    const float hh = clamp01(0.5f + 0.5f * (db - da) / k);
    return db + (da - db) * hh - k * hh * (1 - hh);
  };
}

// --- paints -------------------------------------------------------------------

Paint solid(const Color& c) {
  return [c](float, float) { return c; };
}

Paint linear(float x0, float y0, const Color& c0, float x1, float y1, const Color& c1) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
  return [=](float x, float y) { return mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / len2); };
}

Paint radial(float cx, float cy, float r, const Color& c0, const Color& c1) {
  return [=](float x, float y) { return mix(c0, c1, std::hypot(x - cx, y - cy) / r); };
}

// --- drawing ------------------------------------------------------------------

void fill(Image& img, const Sdf& shape, const Paint& paint, float opacity, float soft) {
  // Blocks whose centre lies far outside the shape are skipped whole: the
  // distance functions never overstate the distance by much, so a generous
  // margin keeps the result identical to visiting every pixel.
  constexpr int B = 8;
  const float margin = static_cast<float>(B) * 1.5f + soft + 3.0f;
  for (int by = 0; by < img.h; by += B)
    for (int bx = 0; bx < img.w; bx += B) {
      const int ex = std::min(bx + B, img.w), ey = std::min(by + B, img.h);
      const float cx = (static_cast<float>(bx) + static_cast<float>(ex)) / 2;
      const float cy = (static_cast<float>(by) + static_cast<float>(ey)) / 2;
      if (shape(cx, cy) > margin) continue;
      for (int y = by; y < ey; ++y) {
        const float fy = static_cast<float>(y) + 0.5f;
        for (int x = bx; x < ex; ++x) {
          const float fx = static_cast<float>(x) + 0.5f;
          const float d = shape(fx, fy);
          const float cov = clamp01(0.5f - d / soft);
          if (cov <= 0) continue;
          img.blend(x, y, paint(fx, fy), cov * opacity);
        }
      }
    }
}

void fill(Image& img, const Sdf& shape, const Color& c, float opacity, float soft) {
  fill(img, shape, solid(c), opacity, soft);
}

void outlined(Image& img, const Sdf& shape, const Paint& paint, const Color& outline, float width) {
  fill(img, shape, outline);
  fill(img, grow(shape, -width), paint);
}

void fillClipped(Image& img, const Sdf& shape, const Sdf& clip, const Paint& paint, float opacity) {
  fill(img, intersect(shape, clip), paint, opacity);
}

Image scaled(const Image& src, int w, int h) {
  Image out(w, h);
  const float sx = static_cast<float>(src.w) / static_cast<float>(w);
  const float sy = static_cast<float>(src.h) / static_cast<float>(h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // Average the source area under this pixel, 4 x 4 sub-samples,
      // bilinear in between: good for shrinking and enlarging alike.
      float acc[4] = {0, 0, 0, 0};
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
          const float u = (static_cast<float>(x) + (static_cast<float>(i) + 0.5f) / 4) * sx - 0.5f;
          const float v = (static_cast<float>(y) + (static_cast<float>(j) + 0.5f) / 4) * sy - 0.5f;
          const int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
          const float fu = u - static_cast<float>(x0), fv = v - static_cast<float>(y0);
          for (int k = 0; k < 4; ++k) {
            const int xx = std::clamp(x0 + (k & 1), 0, src.w - 1);
            const int yy = std::clamp(y0 + (k >> 1), 0, src.h - 1);
            const float wgt = ((k & 1) ? fu : 1 - fu) * ((k >> 1) ? fv : 1 - fv);
            const float* p = src.at(xx, yy);
            for (int c = 0; c < 4; ++c) acc[c] += p[c] * wgt;
          }
        }
      float* o = out.at(x, y);
      for (int c = 0; c < 4; ++c) o[c] = acc[c] / 16;
    }
  return out;
}

void blit(Image& dst, const Image& src, float x, float y, float scale, float opacity) {
  const Image* s = &src;
  Image tmp;
  if (scale != 1.0f) {
    tmp = scaled(src, std::max(1, static_cast<int>(std::lround(static_cast<float>(src.w) * scale))),
                 std::max(1, static_cast<int>(std::lround(static_cast<float>(src.h) * scale))));
    s = &tmp;
  }
  const int ox = static_cast<int>(std::lround(x)), oy = static_cast<int>(std::lround(y));
  for (int j = 0; j < s->h; ++j)
    for (int i = 0; i < s->w; ++i) {
      const int dx = ox + i, dy = oy + j;
      if (dx < 0 || dy < 0 || dx >= dst.w || dy >= dst.h) continue;
      const float* p = s->at(i, j);
      const float a = p[3] * opacity;
      if (a <= 0) continue;
      float* q = dst.at(dx, dy);
      const float k = 1 - a;
      q[0] = p[0] * opacity + q[0] * k;
      q[1] = p[1] * opacity + q[1] * k;
      q[2] = p[2] * opacity + q[2] * k;
      q[3] = a + q[3] * k;
    }
}

// --- noise ----------------------------------------------------------------------

float hash01(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

float valueNoise(float x, float y, int seed) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  const float a = hash01(x0, y0, seed), b = hash01(x0 + 1, y0, seed);
  const float c = hash01(x0, y0 + 1, seed), d = hash01(x0 + 1, y0 + 1, seed);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float fbm(float x, float y, int seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += valueNoise(x, y, seed + i * 17) * amp;
    norm += amp;
    x *= 2;
    y *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

std::uint32_t Rng::next() {
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  return s;
}

float Rng::uniform() { return static_cast<float>(next() >> 8) / 16777216.0f; }

}  // namespace datagen
