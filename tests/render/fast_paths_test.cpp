// Our own drawing into the offscreen canvas (turned pictures, modulated
// copies) against the renderer's reference path: the same picture within a
// level or two per channel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "offscreen_canvas.h"
#include "platform/video.h"

namespace tw::platform {
namespace {

// Texels that differ from their neighbours, so a wrong texel shows; alpha
// runs through transparent, partial and opaque.
std::vector<std::uint32_t> Speckled(int w, int h, bool with_alpha) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w * h));
  std::uint32_t seed = 12345;
  for (auto& p : px) {
    seed = seed * 1664525u + 1013904223u;
    std::uint32_t a = 0xFF;
    if (with_alpha) a = (seed >> 5) % 4 == 0 ? 0 : ((seed >> 3) % 2 == 0 ? 0xFF : (seed >> 24) & 0xFF);
    p = (a << 24) | ((seed >> 8) & 0xFFFFFFu);
  }
  return px;
}

// Smooth shading, as a photograph is: a neighbouring texel is a close colour.
std::vector<std::uint32_t> Shaded(int w, int h) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w * h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      px[static_cast<std::size_t>(y * w + x)] = 0xFF000000u | (static_cast<std::uint32_t>(x * 255 / w) << 16) |
                                                (static_cast<std::uint32_t>(y * 255 / h) << 8) | 0x40u;
    }
  }
  return px;
}

struct Diff {
  int far = 0;  // pixels more than `tolerance` apart in some channel
  int total = 0;
};

Diff Compare(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int tolerance) {
  Diff d;
  d.total = static_cast<int>(a.size());
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (int shift : {0, 8, 16}) {
      if (std::abs(test::Channel(a[i], shift) - test::Channel(b[i], shift)) > tolerance) {
        ++d.far;
        break;
      }
    }
  }
  return d;
}

class FastPathTest : public test::OffscreenCanvasTest {
 protected:
  // The canvas after drawing `quads` over a busy background, by one path.
  std::vector<std::uint32_t> Draw(bool fast, TextureHandle tex, const std::vector<Quad>& quads) {
    SetSoftwareFastPaths(false);
    Quad bg;
    bg.src_w = 64;
    bg.src_h = 48;
    bg.width = 640;
    bg.height = 480;
    DrawQuad(background_, bg);
    SetSoftwareFastPaths(fast);
    for (const Quad& q : quads) DrawQuad(tex, q);
    const test::CanvasShot shot;
    return shot.pixels;
  }
  void SetUp() override {
    test::OffscreenCanvasTest::SetUp();
    const auto bg = Speckled(64, 48, false);
    background_ = CreateTexture(64, 48, bg.data(), true);
    ASSERT_NE(background_, 0);
  }
  TextureHandle background_ = 0;
};

Quad Make(int sw, int sh, float x, float y, float w, float h, float angle, std::uint32_t argb) {
  Quad q;
  q.src_w = sw;
  q.src_h = sh;
  q.x = x;
  q.y = y;
  q.width = w;
  q.height = h;
  q.center_x = w / 2;
  q.center_y = h / 2;
  q.angle_ccw = angle;
  q.argb = argb;
  return q;
}

TEST_F(FastPathTest, TurnedSpritesMatchTheReferenceSampler) {
  const auto px = Speckled(32, 32, true);
  const TextureHandle tex = CreateTexture(32, 32, px.data(), true);
  ASSERT_NE(tex, 0);
  for (float angle : {7.0f, 33.3f, 90.0f, 180.0f, 250.5f, -12.25f}) {
    for (std::uint32_t argb : {0xFFFFFFFFu, 0x66FFFFFFu, 0xFFFF8040u, 0x1A3399FFu}) {
      // Unscaled at whole and fractional spots, scaled up, a source region
      // scaled down, and one hanging over the canvas edge. (A pixel centre
      // exactly on a texel edge may take either texel: the scaled quads sit
      // at fractional spots, where that does not happen.)
      std::vector<Quad> quads{Make(32, 32, 100.3f, 50.6f, 32, 32, angle, argb),
                              Make(32, 32, 300.3f, 200.7f, 80, 56, angle, argb),
                              Make(16, 16, 20.6f, 300.2f, 12, 9, angle, argb),
                              Make(32, 32, 620.4f, 465.1f, 48, 48, angle, argb),
                              Make(32, 32, 200, 400, 32, 32, angle, argb)};
      // The same quad again and again, as the bomb column draws it, also
      // where the canvas edges clip it.
      for (float y : {-20.0f, 100.0f, 132.0f, 164.0f, 470.0f}) quads.push_back(Make(32, 32, 560, y + 0.6f, 32, 32, angle, argb));
      quads.push_back(Make(32, 32, 629, 300.6f, 32, 32, angle, argb));
      quads[2].src_x = 8;
      quads[2].src_y = 16;
      const auto reference = Draw(false, tex, quads);
      const auto fast = Draw(true, tex, quads);
      const Diff d = Compare(reference, fast, 2);
      // A texel exactly on a sampling boundary may go either way in the last
      // bit of the position; those are a handful along edges, never more.
      EXPECT_LE(d.far, 4) << "angle " << angle << " argb " << std::hex << argb;
    }
  }
}

TEST_F(FastPathTest, ModulatedCopiesMatchTheRenderersBlend) {
  const auto px = Speckled(32, 32, true);
  const TextureHandle tex = CreateTexture(32, 32, px.data(), true);
  ASSERT_NE(tex, 0);
  for (std::uint32_t argb : {0x33FFFFFFu, 0xF2FFFFFFu, 0xFFFF3737u, 0x8037FF37u, 0x00FFFFFFu}) {
    // Whole, a region, at fractional and negative positions (truncated, as
    // the renderer does), and clipped by every canvas edge.
    std::vector<Quad> quads{Make(32, 32, 10.7f, 20.2f, 32, 32, 0, argb), Make(32, 32, -5.5f, -7.9f, 32, 32, 0, argb),
                            Make(16, 8, 620, 476, 16, 8, 0, argb)};
    quads[2].src_x = 4;
    quads[2].src_y = 20;
    const Diff d = Compare(Draw(false, tex, quads), Draw(true, tex, quads), 1);
    EXPECT_EQ(d.far, 0) << std::hex << argb;
  }
}

TEST_F(FastPathTest, TheTurningMenuBackgroundMatchesTheRenderersTurn) {
  // The menu's two copies: a 640 x 480 picture stretched to 950 x 790 about
  // the canvas centre, opaque and at half opacity.
  const auto px = Shaded(640, 480);
  const TextureHandle tex = CreateTexture(640, 480, px.data(), true);
  ASSERT_NE(tex, 0);
  for (float angle : {0.02f, 0.05f, 4.5f, 19.8f, 200.0f}) {
    for (std::uint32_t argb : {0xFFFFFFFFu, 0x80FFFFFFu, 0xFFC08060u}) {
      const std::vector<Quad> quads{Make(640, 480, -155, -155, 950, 790, angle, argb),
                                    Make(640, 480, -155, -155, 950, 790, 4.5f - angle, argb & 0x80FFFFFFu)};
      const Diff d = Compare(Draw(false, tex, quads), Draw(true, tex, quads), 2);
      // The renderer turns with its own rounding of where each texel falls;
      // across a smooth picture that is at most a level or two, except where
      // the turned edge crosses a pixel differently.
      EXPECT_LE(d.far, d.total / 200) << "angle " << angle << " argb " << std::hex << argb;
    }
  }
}

}  // namespace
}  // namespace tw::platform
