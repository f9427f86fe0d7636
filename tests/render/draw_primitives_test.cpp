// The drawing primitives on the offscreen canvas: texel sizes, source
// rectangles, turns, alpha, draw colour, one-texel fills and text alignment.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "offscreen_canvas.h"
#include "platform/video.h"
#include "render/draw.h"

namespace tw::render {
namespace {

using test::Channel;

constexpr std::uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu,
                        kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;

class DrawTest : public test::OffscreenCanvasTest {
 protected:
  // 32 x 32: red top-left quadrant, green top-right, blue bottom-left, white bottom-right.
  static Texture Quadrants() {
    std::vector<std::uint32_t> px(32 * 32);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        px[static_cast<std::size_t>(y * 32 + x)] = y < 16 ? (x < 16 ? kRed : kGreen) : (x < 16 ? kBlue : kWhite);
      }
    }
    return platform::CreateTexture(32, 32, px.data(), true);
  }
  static Texture Plain(std::uint32_t argb) {
    const std::vector<std::uint32_t> px(16 * 16, argb);
    return platform::CreateTexture(16, 16, px.data(), true);
  }
};

TEST_F(DrawTest, ZeroDestinationWidthKeepsTheTexelSize) {
  DrawSprite(Quadrants(), 10, 20, 32, 32, 0, 100, 0, 300);
  DrawSprite(0, 100, 100, 32, 32, 0, 100, 640, 480);  // empty slots draw nothing
  DrawSprite(12345, 100, 100, 32, 32, 0, 100, 640, 480);
  const test::CanvasShot at;
  test::ExpectPixels(at, {{10, 20, kRed}, {41, 20, kGreen}, {10, 51, kBlue},
                          {41, 51, kWhite}, {42, 20, kBlack}, {10, 52, kBlack}, {110, 110, kBlack}});
}

TEST_F(DrawTest, ScaledRegionTakesTheRightTexelsAndItsEdgesRoundHalfToEven) {
  const Texture t = Quadrants();
  // Texels 16..32 across, 0..16 down (the green quadrant) drawn 32 wide, 8 high.
  DrawSpriteRegion(t, 100, 100, 16, 16, 16, 0, 0, 100, 32, 8);
  // Left 15.5 rounds to 16 (green), width 16 + 15.5 = 31.5 rounds to 32.
  DrawSpriteRegion(t, 0, 0, 16, 16, 15.5f, 0, 0, 100, 0, 0);
  const test::CanvasShot at;
  test::ExpectPixels(at, {{100, 100, kGreen}, {131, 107, kGreen}, {132, 100, kBlack},
                          {100, 108, kBlack}, {0, 0, kGreen}, {15, 0, kGreen}, {16, 0, kBlack}});
}

TEST_F(DrawTest, PositiveAnglesTurnAnticlockwiseAboutTheCentre) {
  DrawSprite(Quadrants(), 100, 100, 32, 32, 90, 100, 32, 32);
  // A quarter turn anticlockwise: the top-left (red) quadrant goes to the
  // bottom-left, the top-right (green) to the top-left; same square covered.
  const test::CanvasShot at;
  test::ExpectPixels(at, {{104, 104, kGreen}, {104, 127, kRed}, {127, 104, kWhite},
                          {127, 127, kBlue}, {98, 116, kBlack}, {134, 116, kBlack}});
}

TEST_F(DrawTest, AlphaPercentagesAreClampedAndScaled) {
  // 127.5 rounds to the even 128; 2.55 to 3.
  EXPECT_EQ(std::tuple(AlphaFromPercent(100), AlphaFromPercent(50), AlphaFromPercent(150), AlphaFromPercent(-5), AlphaFromPercent(1)),
            std::tuple(255, 128, 255, 0, 3));

  const Texture t = Quadrants();
  FillCanvas(0xFF204060u);
  DrawSprite(t, 0, 100, 1, 1, 0, -5, 10, 10);
  DrawSprite(t, 20, 100, 1, 1, 0, 150, 10, 10);
  DrawSprite(t, 40, 100, 1, 1, 0, 50, 10, 10);
  const test::CanvasShot at;
  test::ExpectPixels(at, {{5, 105, 0xFF204060u}, {25, 105, kRed}});
  // 128 / 255 of the texel over the rest of the old colour, give or take the
  // fill's two truncating steps.
  const std::uint32_t half = at(45, 105);
  EXPECT_NEAR(Channel(half, 16), 0xFF * 128 / 255.0 + 0x20 * 127 / 255.0, 2.0);
  EXPECT_NEAR(Channel(half, 8), 0x40 * 127 / 255.0, 2.0);
  EXPECT_NEAR(Channel(half, 0), 0x60 * 127 / 255.0, 2.0);
}

TEST_F(DrawTest, DrawColourMultipliesTheTexels) {
  SetDrawColor(255, 128, 0);
  DrawSprite(Quadrants(), 0, 0, 32, 32, 0, 100, 0, 0);
  const test::CanvasShot at;
  // White, green and blue texels times (255, 128, 0).
  test::ExpectPixels(at, {{20, 20, 0xFFFF8000u}, {20, 2, 0xFF008000u}, {2, 20, kBlack}});
}

// A quad drawn from one texel is filled as a plain rectangle: the same colour,
// blending and edges the stretched texel gives.
TEST_F(DrawTest, OneTexelStretchIsAPlainFillWithExactEdges) {
  // Top-left texel orange, the others pure blue.
  const std::vector<std::uint32_t> px = {0xFFC86432u, kBlue, kBlue, kBlue};
  const Texture t = platform::CreateTexture(2, 2, px.data(), true);
  SetDrawColor(255, 128, 255);
  DrawSprite(t, 10, 20, 1, 1, 0, 100, 30, 40);
  SetDrawColor(255, 255, 255);
  DrawSpriteRegion(t, 100, 100, 1, 1, 1, 0, 0, 100, 20, 20);  // another texel
  DrawSprite(t, 200, 100, 1, 1, 30, 100, 20, 20);             // turned
  DrawSprite(t, 300, 100, 1, 1, 0, 100, -20, 10);  // a mirrored size covers the other side
  const test::CanvasShot at;
  // green 100 x 128 / 255 = 50
  test::ExpectPixels(at, {{10, 20, 0xFFC83232u}, {39, 59, 0xFFC83232u}, {40, 59, kBlack}, {39, 60, kBlack},
                          {9, 20, kBlack}, {110, 110, kBlue}, {210, 110, 0xFFC86432u}, {285, 105, 0xFFC86432u}, {305, 105, kBlack}});
}

// Turned quads go through one scratch picture: draws queued one after another
// must each keep theirs.
TEST_F(DrawTest, BackToBackTurnedDrawsEachKeepTheirOwnPicture) {
  const Texture red = Plain(kRed), green = Plain(kGreen);
  DrawSprite(red, 100, 100, 16, 16, 45, 100, 32, 32);
  DrawSprite(green, 200, 100, 16, 16, 45, 100, 32, 32);
  DrawSprite(red, 300, 100, 16, 16, 30, 100, 32, 32);
  const test::CanvasShot at;
  test::ExpectPixels(at, {{116, 116, kRed}, {216, 116, kGreen}, {316, 116, kRed}});
  // A 45-degree turn reaches past the square's sides at mid-height but leaves
  // its corners empty.
  test::ExpectPixels(at, {{100 - 4, 116, kRed}, {101, 101, kBlack}});
}

TEST_F(DrawTest, TextAlignsLeftOrRightInItsRectangle) {
  CreateTextFonts();
  ASSERT_NE(LabelFont, 0);
  DrawFontText(LabelFont, 100, 100, 200, 20, "WWW", kWhite, 0);
  DrawFontText(LabelFont, 100, 200, 200, 20, "WWW", kWhite, 2);
  const test::CanvasShot at;
  auto lit = [&](int x0, int x1, int y0) {
    for (int y = y0; y < y0 + 20; ++y) {
      for (int x = x0; x < x1; ++x) {
        if (at(x, y) != kBlack) return true;
      }
    }
    return false;
  };
  EXPECT_EQ(std::tuple(lit(100, 130, 100), lit(200, 300, 100), lit(100, 200, 200), lit(270, 300, 200)),
            std::tuple(true, false, false, true));
  EXPECT_FALSE(lit(300, 340, 200));  // clipped to the rectangle
}

TEST_F(DrawTest, QuadsFarOffTheCanvasOrNotNumbersDrawNothing) {
  // Where a creature flung out by absurd tuning puts its explosion: skipped
  // before any coordinate is converted to an integer, turned or not.
  const Texture t = Quadrants();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const auto& [x, size, angle] : {std::tuple{-4e37f, 32.0f, 30.0f}, std::tuple{-4e37f, 8e37f, 0.0f},
                                       std::tuple{-4e37f, 8e37f, 45.0f}, std::tuple{nan, 32.0f, 10.0f},
                                       std::tuple{10.0f, 32.0f, nan}}) {
    DrawSprite(t, x, x, 32, 32, angle, 100, size, size);
  }
  DrawSprite(t, 200, 200, 32, 32, 90, 100, 0, 0);  // later draws are unaffected
  const test::CanvasShot at;
  int lit = 0;
  for (std::size_t i = 0; i < at.pixels.size(); ++i) lit += (at.pixels[i] & 0xFFFFFFu) != 0 ? 1 : 0;
  EXPECT_EQ(lit, 32 * 32);
  EXPECT_EQ(at(204, 204), kGreen);
}

}  // namespace
}  // namespace tw::render
