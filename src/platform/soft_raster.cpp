#include "platform/soft_raster.h"

#include <algorithm>
#include <array>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw::platform::soft {

namespace {

// a x b / 255 (truncated, as the renderer's modulation does) for all bytes.
struct MulTable {
  std::array<std::array<std::uint8_t, 256>, 256> v{};
  MulTable() {
    for (unsigned a = 0; a < 256; ++a) {
      for (unsigned b = 0; b < 256; ++b) v[a][b] = static_cast<std::uint8_t>(a * b / 255u);
    }
  }
};
const MulTable& Mul() {
  static const MulTable table;
  return table;
}

// The modulation of one draw: a row of the table per channel.
struct Modulation {
  const std::uint8_t* a;
  const std::uint8_t* r;
  const std::uint8_t* g;
  const std::uint8_t* b;
  explicit Modulation(std::uint32_t argb)
      : a(Mul().v[argb >> 24].data()),
        r(Mul().v[(argb >> 16) & 0xFFu].data()),
        g(Mul().v[(argb >> 8) & 0xFFu].data()),
        b(Mul().v[argb & 0xFFu].data()) {}
  std::uint32_t Apply(std::uint32_t t) const {
    return (static_cast<std::uint32_t>(a[t >> 24]) << 24) | (static_cast<std::uint32_t>(r[(t >> 16) & 0xFFu]) << 16) |
           (static_cast<std::uint32_t>(g[(t >> 8) & 0xFFu]) << 8) | b[t & 0xFFu];
  }
};

// Source-alpha blend of an (already modulated) texel over a canvas pixel, in
// the renderer's own arithmetic for a plain blended copy: opaque texels
// replace, transparent ones leave the pixel, the rest are
// (texel x alpha >> 8) + (pixel x (255 - alpha) >> 8) per channel, alpha
// included. Red and blue are worked together: no lane can carry into the next.
inline void BlendOver(std::uint32_t& dst, std::uint32_t s) {
  const std::uint32_t alpha = s >> 24;
  if (alpha == 0) return;
  if (alpha == 255) {
    dst = s;
    return;
  }
  const std::uint32_t d = dst, inv = 255 - alpha;
  const std::uint32_t rb = ((((s & 0xFF00FFu) * alpha) >> 8) & 0xFF00FFu) + ((((d & 0xFF00FFu) * inv) >> 8) & 0xFF00FFu);
  const std::uint32_t g = ((((s & 0xFF00u) * alpha) >> 8) & 0xFF00u) + ((((d & 0xFF00u) * inv) >> 8) & 0xFF00u);
  const std::uint32_t a = ((alpha * 255) >> 8) + (((d >> 24) * inv) >> 8);
  dst = (a << 24) | rb | g;
}

// BlendOver for a run of texels that share one alpha strictly between 0 and
// 255 (a picture drawn at a fixed opacity): the same sums, without branches.
void BlendRun(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t alpha) {
  const std::uint32_t inv = 255 - alpha, a_part = (alpha * 255) >> 8;
  int i = 0;
#if defined(__SSE2__)
  // Four pixels at a time, each channel in a 16-bit lane (bytes B, G, R, A):
  // texel x alpha (x 255 for its alpha), pixel x (255 - alpha), each >> 8.
  const auto a16 = static_cast<short>(alpha);
  const __m128i zero = _mm_setzero_si128();
  const __m128i ms = _mm_setr_epi16(a16, a16, a16, 255, a16, a16, a16, 255);
  const __m128i md = _mm_set1_epi16(static_cast<short>(inv));
  for (; i + 4 <= count; i += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
    const __m128i lo = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), ms), 8),
                                     _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), md), 8));
    const __m128i hi = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), ms), 8),
                                     _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), md), 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; i < count; ++i) {
    const std::uint32_t s = in[i], d = out[i];
    const std::uint32_t rb =
        ((((s & 0xFF00FFu) * alpha) >> 8) & 0xFF00FFu) + ((((d & 0xFF00FFu) * inv) >> 8) & 0xFF00FFu);
    const std::uint32_t g = ((((s & 0xFF00u) * alpha) >> 8) & 0xFF00u) + ((((d & 0xFF00u) * inv) >> 8) & 0xFF00u);
    out[i] = ((a_part + (((d >> 24) * inv) >> 8)) << 24) | rb | g;
  }
}

constexpr double kFixedOne = 4294967296.0;  // 32.32 fixed point

// The canvas columns [lo, hi) of one row where start + x * step stays inside
// [0, limit) (a one-pixel margin is left to the per-pixel test). `inverse`
// is 1 / step, worked out once per quad.
void SpanWhereInside(double start, double step, double inverse, double limit, double& lo, double& hi) {
  if (std::fabs(step) < 1e-12) {
    if (start < 0 || start >= limit) hi = lo - 1;  // nothing
    return;
  }
  double a = -start * inverse, b = (limit - start) * inverse;
  if (a > b) std::swap(a, b);
  lo = std::max(lo, std::floor(a) - 1);
  hi = std::min(hi, std::ceil(b) + 1);
}

// How a draw's colour applies: not at all (white, opaque), to the alpha only
// (white at some opacity, the commonest), or to every channel.
enum class Tint { None, AlphaOnly, Full };

// Where the sampled texels go: blended over the canvas, or stored as they
// are into a turned copy (whose rows start at column x0 of the canvas).
struct BlendSink {
  const Canvas& canvas;
  std::uint32_t* Row(int y) const { return canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.pitch; }
  static void Put(std::uint32_t& dst, std::uint32_t t) { BlendOver(dst, t); }
};
struct StoreSink {
  TurnedCopy& copy;
  std::uint32_t* Row(int y) const {
    return copy.pixels.data() + static_cast<std::ptrdiff_t>(y - copy.y0) * copy.width - copy.x0;
  }
  static void Put(std::uint32_t& dst, std::uint32_t t) { dst = t; }
};

template <Tint kTint, typename Sink>
void TurnedRows(const Sink& sink, const Picture& picture, const TurnedQuad& q, int y0, int y1, int x0, int x1) {
  const double rad = q.angle_ccw * 3.14159265358979323846 / 180.0;
  const double c = std::cos(rad), s = std::sin(rad);
  const double px = q.x + q.center_x, py = q.y + q.center_y;
  const double sxs = q.src_w / q.width, sys = q.src_h / q.height;
  // Per canvas column the texel position moves by (c, s) in quad units.
  const double du = c * sxs, dv = s * sys;
  const double inv_du = std::fabs(du) < 1e-12 ? 0 : 1 / du, inv_dv = std::fabs(dv) < 1e-12 ? 0 : 1 / dv;
  const auto step_u = static_cast<std::int64_t>(std::llround(du * kFixedOne));
  const auto step_v = static_cast<std::int64_t>(std::llround(dv * kFixedOne));
  const auto limit_u = static_cast<std::uint64_t>(q.src_w) << 32;
  const auto limit_v = static_cast<std::uint64_t>(q.src_h) << 32;
  const std::uint32_t* base = picture.texels + static_cast<std::ptrdiff_t>(q.src_y) * picture.width + q.src_x;
  const Modulation mod(q.argb);
  for (int y = y0; y < y1; ++y) {
    const double dy = y + 0.5 - py;
    // Texel position (in texels of the source rectangle) at canvas column 0.
    const double u0 = ((0.5 - px) * c - dy * s + q.center_x) * sxs;
    const double v0 = ((0.5 - px) * s + dy * c + q.center_y) * sys;
    double lo = x0, hi = x1;
    SpanWhereInside(u0, du, inv_du, q.src_w, lo, hi);
    SpanWhereInside(v0, dv, inv_dv, q.src_h, lo, hi);
    if (!(hi > lo)) continue;
    const int xs = static_cast<int>(lo), xe = static_cast<int>(hi);
    auto u = static_cast<std::int64_t>(std::llround((u0 + xs * du) * kFixedOne));
    auto v = static_cast<std::int64_t>(std::llround((v0 + xs * dv) * kFixedOne));
    std::uint32_t* out = sink.Row(y);
    for (int x = xs; x < xe; ++x, u += step_u, v += step_v) {
      // Negative positions wrap to huge unsigned values and fail the test too.
      if (static_cast<std::uint64_t>(u) >= limit_u || static_cast<std::uint64_t>(v) >= limit_v) continue;
      const std::uint32_t t = base[static_cast<std::ptrdiff_t>(v >> 32) * picture.width + (u >> 32)];
      if constexpr (kTint == Tint::None) {
        Sink::Put(out[x], t);
      } else if constexpr (kTint == Tint::AlphaOnly) {
        Sink::Put(out[x], (static_cast<std::uint32_t>(mod.a[t >> 24]) << 24) | (t & 0xFFFFFFu));
      } else {
        Sink::Put(out[x], mod.Apply(t));
      }
    }
  }
}

}  // namespace

namespace {

template <typename Sink>
void TurnedRowsTinted(const Sink& sink, const Picture& picture, const TurnedQuad& q, int y0, int y1, int x0, int x1) {
  if (q.argb == 0xFFFFFFFFu) {
    TurnedRows<Tint::None>(sink, picture, q, y0, y1, x0, x1);
  } else if ((q.argb & 0xFFFFFFu) == 0xFFFFFFu) {
    TurnedRows<Tint::AlphaOnly>(sink, picture, q, y0, y1, x0, x1);
  } else {
    TurnedRows<Tint::Full>(sink, picture, q, y0, y1, x0, x1);
  }
}

// Checks the quad and finds the canvas rows and columns its turned rectangle
// can touch (empty when it misses the canvas). False for quads not handled.
bool TurnedBounds(const Canvas& canvas, const Picture& picture, const TurnedQuad& q, int& x0, int& y0, int& x1,
                  int& y1) {
  if (picture.texels == nullptr) return false;
  if (!(q.width > 0) || !(q.height > 0) || q.src_w <= 0 || q.src_h <= 0) return false;
  if (q.src_x < 0 || q.src_y < 0 || q.src_x + q.src_w > picture.width || q.src_y + q.src_h > picture.height) {
    return false;
  }
  // Far beyond any canvas: left to the caller (and kept clear of overflow).
  constexpr double kFar = 1 << 20;
  for (double v : {q.x, q.y, q.width, q.height, q.center_x, q.center_y, q.angle_ccw}) {
    if (!std::isfinite(v) || std::fabs(v) > kFar) return false;
  }
  const double rad = q.angle_ccw * 3.14159265358979323846 / 180.0;
  const double c = std::cos(rad), s = std::sin(rad);
  const double px = q.x + q.center_x, py = q.y + q.center_y;
  // Corners turned anticlockwise on the y-down canvas: (dx, dy) -> (dx c + dy s, -dx s + dy c).
  double miny = 1e300, maxy = -1e300, minx = 1e300, maxx = -1e300;
  for (double dx : {-q.center_x, q.width - q.center_x}) {
    for (double dy : {-q.center_y, q.height - q.center_y}) {
      const double x = px + dx * c + dy * s, y = py - dx * s + dy * c;
      minx = std::min(minx, x);
      maxx = std::max(maxx, x);
      miny = std::min(miny, y);
      maxy = std::max(maxy, y);
    }
  }
  x0 = std::max(0, static_cast<int>(std::floor(minx)));
  y0 = std::max(0, static_cast<int>(std::floor(miny)));
  x1 = std::min(canvas.width, static_cast<int>(std::ceil(maxx)));
  y1 = std::min(canvas.height, static_cast<int>(std::ceil(maxy)));
  if (x1 <= x0 || y1 <= y0) x1 = x0 = y1 = y0 = 0;
  return true;
}

}  // namespace

bool DrawTurned(const Canvas& canvas, const Picture& picture, const TurnedQuad& q) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (canvas.pixels == nullptr || !TurnedBounds(canvas, picture, q, x0, y0, x1, y1)) return false;
  if ((q.argb >> 24) == 0 || x1 <= x0) return true;
  TurnedRowsTinted(BlendSink{canvas}, picture, q, y0, y1, x0, x1);
  return true;
}

bool RenderTurned(const Canvas& canvas, const Picture& picture, const TurnedQuad& q, TurnedCopy& copy) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (!TurnedBounds(canvas, picture, q, x0, y0, x1, y1)) return false;
  if ((q.argb >> 24) == 0) x1 = x0;  // nothing shows
  copy.x0 = x0;
  copy.y0 = y0;
  copy.width = x1 - x0;
  copy.height = y1 - y0;
  copy.pixels.assign(static_cast<std::size_t>(copy.width) * static_cast<std::size_t>(std::max(0, copy.height)), 0);
  if (copy.width <= 0 || copy.height <= 0) return true;
  TurnedRowsTinted(StoreSink{copy}, picture, q, y0, y1, x0, x1);
  return true;
}

void BlendCopy(const Canvas& canvas, const TurnedCopy& copy, int dx, int dy) {
  if (canvas.pixels == nullptr) return;
  const int left = copy.x0 + dx, top = copy.y0 + dy;
  const int skip_x = std::max(0, -left), skip_y = std::max(0, -top);
  const int w = std::min(copy.width, canvas.width - left) - skip_x;
  const int h = std::min(copy.height, canvas.height - top) - skip_y;
  if (w <= 0 || h <= 0) return;
  for (int row = 0; row < h; ++row) {
    const std::uint32_t* in = copy.pixels.data() + static_cast<std::ptrdiff_t>(row + skip_y) * copy.width + skip_x;
    std::uint32_t* out =
        canvas.pixels + static_cast<std::ptrdiff_t>(top + skip_y + row) * canvas.pitch + left + skip_x;
    // Runs of opaque texels are plain copies; transparent runs are skipped.
    for (int x = 0; x < w;) {
      const std::uint32_t alpha = in[x] >> 24;
      int end = x + 1;
      while (end < w && (in[end] >> 24) == alpha) ++end;
      if (alpha == 255) {
        std::copy(in + x, in + end, out + x);
      } else if (alpha != 0) {
        BlendRun(out + x, in + x, end - x, alpha);
      }
      x = end;
    }
  }
}

void BlitModulated(const Canvas& canvas, const Picture& picture, int src_x, int src_y, int src_w, int src_h, int x,
                   int y, std::uint32_t argb) {
  if (canvas.pixels == nullptr || picture.texels == nullptr) return;
  // Clip the source rectangle to the picture, then the destination to the canvas.
  if (src_x < 0) {
    x -= src_x;
    src_w += src_x;
    src_x = 0;
  }
  if (src_y < 0) {
    y -= src_y;
    src_h += src_y;
    src_y = 0;
  }
  src_w = std::min(src_w, picture.width - src_x);
  src_h = std::min(src_h, picture.height - src_y);
  if (x < 0) {
    src_x -= x;
    src_w += x;
    x = 0;
  }
  if (y < 0) {
    src_y -= y;
    src_h += y;
    y = 0;
  }
  src_w = std::min(src_w, canvas.width - x);
  src_h = std::min(src_h, canvas.height - y);
  if (src_w <= 0 || src_h <= 0) return;
  const auto& mul = Mul().v;
  const std::uint8_t* ma = mul[argb >> 24].data();
  const std::uint8_t* mr = mul[(argb >> 16) & 0xFFu].data();
  const std::uint8_t* mg = mul[(argb >> 8) & 0xFFu].data();
  const std::uint8_t* mb = mul[argb & 0xFFu].data();
  for (int row = 0; row < src_h; ++row) {
    const std::uint32_t* in = picture.texels + static_cast<std::ptrdiff_t>(src_y + row) * picture.width + src_x;
    std::uint32_t* out = canvas.pixels + static_cast<std::ptrdiff_t>(y + row) * canvas.pitch + x;
    for (int i = 0; i < src_w; ++i) {
      const std::uint32_t t = in[i];
      // The renderer's modulated blend: modulate, premultiply by the
      // resulting alpha, then source + (255 - alpha) x canvas / 255.
      const std::uint32_t a = ma[t >> 24];
      if (a == 0) continue;
      std::uint32_t r = mr[(t >> 16) & 0xFFu], g = mg[(t >> 8) & 0xFFu], b = mb[t & 0xFFu];
      const std::uint32_t d = out[i];
      if (a < 255) {
        const std::uint8_t* pa = mul[a].data();
        const std::uint8_t* inv = mul[255 - a].data();
        r = pa[r] + inv[(d >> 16) & 0xFFu];
        g = pa[g] + inv[(d >> 8) & 0xFFu];
        b = pa[b] + inv[d & 0xFFu];
      }
      const std::uint32_t da = a + mul[255 - a][d >> 24];
      out[i] = (da << 24) | (r << 16) | (g << 8) | b;
    }
  }
}

}  // namespace tw::platform::soft
