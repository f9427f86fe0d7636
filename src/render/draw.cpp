#include "render/draw.h"

#include <vector>

#include "render/device.h"

namespace tw::render {

Long DrawRed = 255, DrawGreen = 255, DrawBlue = 255;
TextFont DebugFont = 0;
TextFont LabelFont = 0;

namespace {

Texture g_white = 0;  // a 1 x 1 white texel for plain fills
int g_white_generation = -1;

Texture WhiteTexel() {
  if (g_white == 0 || g_white_generation != platform::DisplayGeneration()) {
    g_white_generation = platform::DisplayGeneration();
    const std::uint32_t white = 0xFFFFFFFFu;
    g_white = platform::CreateTexture(1, 1, &white, true);
  }
  return g_white;
}

void Draw(Texture texture, Single x, Single y, std::int32_t left, std::int32_t top, std::int32_t right,
          std::int32_t bottom, Single scaleX, Single scaleY, Single angle, Integer alpha) {
  if (texture == 0) return;
  platform::Quad q;
  q.src_x = left;
  q.src_y = top;
  q.src_w = right - left;
  q.src_h = bottom - top;
  q.x = x;
  q.y = y;
  q.width = static_cast<float>(q.src_w) * scaleX;
  q.height = static_cast<float>(q.src_h) * scaleY;
  // The picture turns about the centre of its destination rectangle.
  q.center_x = static_cast<float>(right - left) / 2.0f * scaleX;
  q.center_y = static_cast<float>(bottom - top) / 2.0f * scaleY;
  q.angle_ccw = angle;
  q.argb = Argb(AlphaFromPercent(alpha), static_cast<std::uint32_t>(DrawRed),
                static_cast<std::uint32_t>(DrawGreen), static_cast<std::uint32_t>(DrawBlue));
  platform::DrawQuad(texture, q);
}

}  // namespace

void SetDrawColor(Integer red, Integer green, Integer blue) {
  DrawRed = red;
  DrawGreen = green;
  DrawBlue = blue;
}

std::uint8_t AlphaFromPercent(Integer percent) {
  const int p = percent > 100 ? 100 : (percent < 0 ? 0 : percent);
  // 255 x p / 100 in that order is exact, so 50 % gives 127.5 and rounds to 128.
  return static_cast<std::uint8_t>(num::CLng(255.0 * p / 100.0));
}

void DrawSprite(Texture texture, Single x, Single y, Single srcWidth, Single srcHeight, Single angle,
                Integer alpha, Single dstWidth, Single dstHeight) {
  const std::int32_t right = num::CLng(srcWidth);
  const std::int32_t bottom = num::CLng(srcHeight);
  Single sx = 1, sy = 1;
  if (dstWidth != 0) {
    sx = dstWidth / srcWidth;
    sy = dstHeight / srcHeight;
  }
  Draw(texture, x, y, 0, 0, right, bottom, sx, sy, angle, alpha);
}

void DrawSpriteRegion(Texture texture, Single x, Single y, Single srcWidth, Single srcHeight,
                      Single srcLeft, Single srcTop, Single angle, Integer alpha, Single dstWidth,
                      Single dstHeight) {
  const std::int32_t left = num::CLng(srcLeft);
  const std::int32_t top = num::CLng(srcTop);
  const std::int32_t right = num::CLng(srcWidth + srcLeft);
  const std::int32_t bottom = num::CLng(srcHeight + srcTop);
  Single sx = 1, sy = 1;
  if (dstWidth != 0) {
    sx = dstWidth / srcWidth;
    sy = dstHeight / srcHeight;
  }
  Draw(texture, x, y, left, top, right, bottom, sx, sy, angle, alpha);
}

void FillCanvas(std::uint32_t argb) {
  const Texture white = WhiteTexel();
  if (white == 0) return;
  platform::Quad q;
  q.src_w = 1;
  q.src_h = 1;
  q.width = static_cast<float>(Display.CanvasWidth);
  q.height = static_cast<float>(Display.CanvasHeight);
  q.argb = argb;
  platform::DrawQuad(white, q);
}

void CreateTextFonts() {
  // DejaVu Sans at 7 points stands in for the small label face.
  DebugFont = platform::OpenTextFont(7);
  LabelFont = platform::OpenTextFont(7);
}

void DrawFontText(TextFont font, Integer left, Integer top, Integer width, Integer height,
                  std::string_view text, std::uint32_t color, Integer format) {
  platform::DrawText(font, left, top, width, height, text, color, format == 2 ? 2 : 0);
}

}  // namespace tw::render
