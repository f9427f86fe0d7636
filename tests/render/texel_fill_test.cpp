// A quad drawn from one texel is filled as a plain rectangle: the same colour,
// blending and edges the stretched texel gives.
#include <gtest/gtest.h>

#include <vector>

#include "platform/video.h"
#include "render/draw.h"

namespace tw::render {
namespace {

class TexelFill : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetVideoBackend(platform::VideoBackend::Offscreen);
    ASSERT_TRUE(platform::OpenDisplay(platform::VideoConfig{}));
    SetDrawColor(255, 255, 255);
    FillCanvas(0xFF000000u);
    // Top-left texel orange, the one beside it pure blue.
    const std::vector<std::uint32_t> px = {0xFFC86432u, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu};
    texture_ = platform::CreateTexture(2, 2, px.data(), true);
  }
  void TearDown() override { platform::CloseDisplay(); }
  std::uint32_t Pixel(int x, int y) {
    std::vector<std::uint32_t> p;
    int w = 0, h = 0;
    platform::ReadCanvas(p, w, h);
    return p[static_cast<std::size_t>(y * w + x)] | 0xFF000000u;
  }
  Texture texture_ = 0;
};

TEST_F(TexelFill, OpaqueStretchIsTheModulatedTexelWithExactEdges) {
  SetDrawColor(255, 128, 255);
  DrawSprite(texture_, 10, 20, 1, 1, 0, 100, 30, 40);
  EXPECT_EQ(Pixel(10, 20), 0xFFC83232u);  // green 100 x 128 / 255 = 50
  EXPECT_EQ(Pixel(39, 59), 0xFFC83232u);
  EXPECT_EQ(Pixel(40, 59), 0xFF000000u);
  EXPECT_EQ(Pixel(39, 60), 0xFF000000u);
  EXPECT_EQ(Pixel(9, 20), 0xFF000000u);
}

TEST_F(TexelFill, HalfAlphaBlendsOverTheCanvas) {
  FillCanvas(0xFF204060u);
  DrawSprite(texture_, 0, 0, 1, 1, 0, 50, 640, 480);
  const std::uint32_t c = Pixel(320, 240);
  // 128 / 255 of the texel over the rest of the old colour, give or take the
  // fill's two truncating steps.
  const auto near = [](std::uint32_t v, int shift, double want) {
    return std::abs(static_cast<int>((v >> shift) & 0xFFu) - want) <= 2.0;
  };
  EXPECT_TRUE(near(c, 16, 0xC8 * 128 / 255.0 + 0x20 * 127 / 255.0)) << std::hex << c;
  EXPECT_TRUE(near(c, 8, 0x64 * 128 / 255.0 + 0x40 * 127 / 255.0)) << std::hex << c;
  EXPECT_TRUE(near(c, 0, 0x32 * 128 / 255.0 + 0x60 * 127 / 255.0)) << std::hex << c;
}

TEST_F(TexelFill, OtherTexelsAndTurnedQuadsStillSampleTheTexture) {
  DrawSpriteRegion(texture_, 100, 100, 1, 1, 1, 0, 0, 100, 20, 20);
  EXPECT_EQ(Pixel(110, 110), 0xFF0000FFu);
  DrawSprite(texture_, 200, 100, 1, 1, 30, 100, 20, 20);
  EXPECT_EQ(Pixel(210, 110), 0xFFC86432u);
  // A mirrored (negative) size covers the rectangle on the other side.
  DrawSprite(texture_, 300, 100, 1, 1, 0, 100, -20, 10);
  EXPECT_EQ(Pixel(285, 105), 0xFFC86432u);
  EXPECT_EQ(Pixel(305, 105), 0xFF000000u);
}

}  // namespace
}  // namespace tw::render
