// The offscreen canvas (software renderer, the same output on every run) for
// pixel checks at chosen points.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace tw::test {

// Opens the 640 x 480 offscreen canvas, white draw colour, filled black.
bool OpenOffscreenCanvas();
void CloseOffscreenCanvas();

// The canvas as it is now; pixels read back opaque (0xFFrrggbb).
struct CanvasShot {
  CanvasShot();
  std::uint32_t operator()(int x, int y) const;
  std::vector<std::uint32_t> pixels;
  int width = 0, height = 0;
};
inline std::uint32_t CanvasPixel(int x, int y) { return CanvasShot()(x, y); }
inline int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFFu); }

// Expects each listed point of `at` to hold its colour.
struct PixelIs {
  int x, y;
  std::uint32_t colour;
};
inline void ExpectPixels(const CanvasShot& at, std::initializer_list<PixelIs> points) {
  for (const PixelIs& p : points) EXPECT_EQ(at(p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
}

class OffscreenCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(OpenOffscreenCanvas()); }
  void TearDown() override { CloseOffscreenCanvas(); }
  static std::uint32_t Pixel(int x, int y) { return CanvasPixel(x, y); }
};

}  // namespace tw::test
