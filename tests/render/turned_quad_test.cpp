// Turned quads on the offscreen canvas: drawn by our own sampling through one
// scratch picture, so draws queued one after another must each keep theirs.
#include <gtest/gtest.h>

#include <vector>

#include "platform/video.h"
#include "render/draw.h"

namespace tw::render {
namespace {

class TurnedQuad : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetVideoBackend(platform::VideoBackend::Offscreen);
    ASSERT_TRUE(platform::OpenDisplay(platform::VideoConfig{}));
    SetDrawColor(255, 255, 255);
    FillCanvas(0xFF000000u);
  }
  void TearDown() override { platform::CloseDisplay(); }
  static Texture Plain(std::uint32_t argb) {
    const std::vector<std::uint32_t> px(16 * 16, argb);
    return platform::CreateTexture(16, 16, px.data(), true);
  }
  std::uint32_t Pixel(int x, int y) {
    std::vector<std::uint32_t> p;
    int w = 0, h = 0;
    platform::ReadCanvas(p, w, h);
    return p[static_cast<std::size_t>(y * w + x)] | 0xFF000000u;
  }
};

TEST_F(TurnedQuad, BackToBackDrawsEachKeepTheirOwnPicture) {
  const Texture red = Plain(0xFFFF0000u), green = Plain(0xFF00FF00u);
  DrawSprite(red, 100, 100, 16, 16, 45, 100, 32, 32);
  DrawSprite(green, 200, 100, 16, 16, 45, 100, 32, 32);
  DrawSprite(red, 300, 100, 16, 16, 30, 100, 32, 32);
  EXPECT_EQ(Pixel(116, 116), 0xFFFF0000u);
  EXPECT_EQ(Pixel(216, 116), 0xFF00FF00u);
  EXPECT_EQ(Pixel(316, 116), 0xFFFF0000u);
  // A 45-degree turn reaches past the square's sides at mid-height but leaves
  // its corners empty.
  EXPECT_EQ(Pixel(100 - 4, 116), 0xFFFF0000u);
  EXPECT_EQ(Pixel(101, 101), 0xFF000000u);
}

TEST_F(TurnedQuad, ColourAndOpacityApplyAndTheCanvasEdgeClips) {
  const Texture white = Plain(0xFFFFFFFFu);
  FillCanvas(0xFF0000FFu);
  SetDrawColor(255, 0, 0);
  DrawSprite(white, 50, 50, 16, 16, 10, 50, 32, 32);
  const std::uint32_t c = Pixel(66, 66);
  EXPECT_NEAR(static_cast<int>((c >> 16) & 0xFF), 128, 2);
  EXPECT_EQ((c >> 8) & 0xFF, 0u);
  EXPECT_NEAR(static_cast<int>(c & 0xFF), 127, 2);
  // Half off the left edge: the visible half lands where it belongs.
  SetDrawColor(255, 255, 255);
  DrawSprite(white, -16, 200, 16, 16, 90, 100, 32, 32);
  EXPECT_EQ(Pixel(0, 216), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(15, 216), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(17, 216), 0xFF0000FFu);
}

}  // namespace
}  // namespace tw::render
