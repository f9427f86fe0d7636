#include <gtest/gtest.h>

#include <vector>

#include "platform/video.h"
#include "render/device.h"
#include "render/draw.h"
#include "test_support.h"

namespace tw::render {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu,
                        kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;

// Pixel checks on the offscreen canvas (software renderer: the same output on
// every run).
class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetVideoBackend(platform::VideoBackend::Offscreen);
    ASSERT_TRUE(platform::OpenDisplay(platform::VideoConfig{}));
    SetDrawColor(255, 255, 255);
    FillCanvas(kBlack);
  }
  void TearDown() override { platform::CloseDisplay(); }

  std::uint32_t Pixel(int x, int y) {
    int w = 0, h = 0;
    if (pixels_.empty()) platform::ReadCanvas(pixels_, w, h);
    return pixels_[static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x)] | 0xFF000000u;
  }
  void Refresh() { pixels_.clear(); }

  // 32 x 32: red top-left quadrant, green top-right, blue bottom-left, white bottom-right.
  Texture Quadrants() {
    std::vector<std::uint32_t> px(32 * 32);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        px[static_cast<std::size_t>(y * 32 + x)] = y < 16 ? (x < 16 ? kRed : kGreen) : (x < 16 ? kBlue : kWhite);
      }
    }
    return platform::CreateTexture(32, 32, px.data(), true);
  }

  std::vector<std::uint32_t> pixels_;
};

TEST_F(DrawTest, ZeroDestinationWidthKeepsTheTexelSize) {
  const Texture t = Quadrants();
  DrawSprite(t, 10, 20, 32, 32, 0, 100, 0, 300);
  EXPECT_EQ(Pixel(10, 20), kRed);
  EXPECT_EQ(Pixel(41, 20), kGreen);
  EXPECT_EQ(Pixel(10, 51), kBlue);
  EXPECT_EQ(Pixel(41, 51), kWhite);
  EXPECT_EQ(Pixel(42, 20), kBlack);
  EXPECT_EQ(Pixel(10, 52), kBlack);
}

TEST_F(DrawTest, OneTexelStretchedOverTheCanvas) {
  const Texture t = Quadrants();
  DrawSprite(t, 0, 0, 1, 1, 0, 100, 640, 480);
  EXPECT_EQ(Pixel(0, 0), kRed);
  EXPECT_EQ(Pixel(639, 479), kRed);
  EXPECT_EQ(Pixel(320, 240), kRed);
}

TEST_F(DrawTest, ScaledRegionTakesTheRightTexels) {
  const Texture t = Quadrants();
  // Texels 16..32 across, 0..16 down (the green quadrant) drawn 32 wide, 8 high.
  DrawSpriteRegion(t, 100, 100, 16, 16, 16, 0, 0, 100, 32, 8);
  EXPECT_EQ(Pixel(100, 100), kGreen);
  EXPECT_EQ(Pixel(131, 107), kGreen);
  EXPECT_EQ(Pixel(132, 100), kBlack);
  EXPECT_EQ(Pixel(100, 108), kBlack);
}

TEST_F(DrawTest, SourceRectangleEdgesRoundHalfToEven) {
  const Texture t = Quadrants();
  // Left 15.5 rounds to 16 (green), width 16 + 15.5 = 31.5 rounds to 32.
  DrawSpriteRegion(t, 0, 0, 16, 16, 15.5f, 0, 0, 100, 0, 0);
  EXPECT_EQ(Pixel(0, 0), kGreen);
  EXPECT_EQ(Pixel(15, 0), kGreen);
  EXPECT_EQ(Pixel(16, 0), kBlack);
}

TEST_F(DrawTest, PositiveAnglesTurnAnticlockwiseAboutTheCentre) {
  const Texture t = Quadrants();
  DrawSprite(t, 100, 100, 32, 32, 90, 100, 32, 32);
  // A quarter turn anticlockwise: the top-left (red) quadrant goes to the
  // bottom-left, the top-right (green) to the top-left; same square covered.
  EXPECT_EQ(Pixel(104, 104), kGreen);
  EXPECT_EQ(Pixel(104, 127), kRed);
  EXPECT_EQ(Pixel(127, 104), kWhite);
  EXPECT_EQ(Pixel(127, 127), kBlue);
  EXPECT_EQ(Pixel(98, 116), kBlack);
  EXPECT_EQ(Pixel(134, 116), kBlack);
}

TEST_F(DrawTest, AlphaPercentagesAreClampedAndScaled) {
  EXPECT_EQ(AlphaFromPercent(100), 255);
  EXPECT_EQ(AlphaFromPercent(50), 128);  // 127.5 rounds to the even 128
  EXPECT_EQ(AlphaFromPercent(0), 0);
  EXPECT_EQ(AlphaFromPercent(150), 255);
  EXPECT_EQ(AlphaFromPercent(-5), 0);
  EXPECT_EQ(AlphaFromPercent(1), 3);  // 2.55

  const Texture t = Quadrants();
  DrawSprite(t, 0, 0, 1, 1, 0, -5, 10, 10);
  DrawSprite(t, 20, 0, 1, 1, 0, 150, 10, 10);
  DrawSprite(t, 40, 0, 1, 1, 0, 50, 10, 10);
  EXPECT_EQ(Pixel(5, 5), kBlack);
  EXPECT_EQ(Pixel(25, 5), kRed);
  const std::uint32_t half = Pixel(45, 5);
  EXPECT_NEAR(static_cast<int>((half >> 16) & 0xFF), 128, 1);
  EXPECT_EQ(half & 0xFFFF, 0u);
}

TEST_F(DrawTest, DrawColourMultipliesTheTexels) {
  const Texture t = Quadrants();
  SetDrawColor(255, 128, 0);
  DrawSprite(t, 0, 0, 32, 32, 0, 100, 0, 0);
  SetDrawColor(255, 255, 255);
  EXPECT_EQ(Pixel(20, 20), 0xFFFF8000u);  // white x (255, 128, 0)
  EXPECT_EQ(Pixel(20, 2), 0xFF008000u);   // green x (255, 128, 0)
  EXPECT_EQ(Pixel(2, 20), kBlack);        // blue x no blue
}

TEST_F(DrawTest, EmptySlotsDrawNothing) {
  DrawSprite(0, 0, 0, 32, 32, 0, 100, 640, 480);
  DrawSprite(12345, 0, 0, 32, 32, 0, 100, 640, 480);
  EXPECT_EQ(Pixel(10, 10), kBlack);
}

TEST_F(DrawTest, MagentaColourKeyBecomesTransparent) {
  test::TempDir dir;
  std::vector<std::uint32_t> px(4 * 4, 0xFFFF00FFu);
  px[0] = kRed;
  ASSERT_TRUE(platform::SaveBitmap(dir.File("keyed.bmp"), 4, 4, px));
  const Texture keyed = platform::LoadImageTexture(dir.File("keyed.bmp"), true, 0xFF00FF, true);
  const Texture plain = platform::LoadImageTexture(dir.File("keyed.bmp"), false, 0, true);
  ASSERT_NE(keyed, 0);
  DrawSprite(keyed, 0, 0, 4, 4, 0, 100, 0, 0);
  DrawSprite(plain, 10, 0, 4, 4, 0, 100, 0, 0);
  EXPECT_EQ(Pixel(0, 0), kRed);
  EXPECT_EQ(Pixel(2, 2), kBlack);
  EXPECT_EQ(Pixel(12, 2), 0xFFFF00FFu);
  EXPECT_EQ(platform::LoadImageTexture(dir.File("missing.png"), false, 0, true), 0);
  test::WriteText(dir.File("broken.jpg"), "not a picture");
  EXPECT_EQ(platform::LoadImageTexture(dir.File("broken.jpg"), false, 0, true), 0);
}

TEST_F(DrawTest, TextAlignsLeftOrRightInItsRectangle) {
  CreateTextFonts();
  ASSERT_NE(LabelFont, 0);
  DrawFontText(LabelFont, 100, 100, 200, 20, "WWW", kWhite, 0);
  DrawFontText(LabelFont, 100, 200, 200, 20, "WWW", kWhite, 2);
  auto lit = [&](int x0, int x1, int y0) {
    for (int y = y0; y < y0 + 20; ++y) {
      for (int x = x0; x < x1; ++x) {
        if (Pixel(x, y) != kBlack) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(lit(100, 130, 100));
  EXPECT_FALSE(lit(200, 300, 100));
  EXPECT_FALSE(lit(100, 200, 200));
  EXPECT_TRUE(lit(270, 300, 200));
  EXPECT_FALSE(lit(300, 340, 200));  // clipped to the rectangle
}

}  // namespace
}  // namespace tw::render
