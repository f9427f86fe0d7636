// Sprite and text drawing on the 640 x 480 canvas.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/numeric.h"
#include "platform/video.h"

namespace tw::render {

using Texture = platform::TextureHandle;  // 0 is an empty slot

// The draw colour multiplies every texel of the following sprite draws.
void SetDrawColor(Integer red, Integer green, Integer blue);
extern Long DrawRed, DrawGreen, DrawBlue;

// Alpha percentage (clamped to 0..100) to the colour word's alpha byte.
std::uint8_t AlphaFromPercent(Integer percent);
// 0xAARRGGBB.
constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return ((a & 0xFFu) << 24) | ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}

// The texture from its top-left corner, source width x height texels, drawn
// at (x, y); a destination width of 0 keeps the texel size. A positive angle
// turns the picture anticlockwise about the centre of its destination.
void DrawSprite(Texture texture, Single x, Single y, Single srcWidth, Single srcHeight, Single angle,
                Integer alpha, Single dstWidth, Single dstHeight);
// As DrawSprite, from the sub-rectangle starting at (srcLeft, srcTop).
void DrawSpriteRegion(Texture texture, Single x, Single y, Single srcWidth, Single srcHeight,
                      Single srcLeft, Single srcTop, Single angle, Integer alpha, Single dstWidth,
                      Single dstHeight);

// Covers the whole canvas with one colour (0xAARRGGBB).
void FillCanvas(std::uint32_t argb);

// System-font text: the debug window's text and the menu's small labels.
using TextFont = platform::FontHandle;
extern TextFont DebugFont;
extern TextFont LabelFont;
void CreateTextFonts();
// format 0: left-aligned; 2: right-aligned within the rectangle.
void DrawFontText(TextFont font, Integer left, Integer top, Integer width, Integer height,
                  std::string_view text, std::uint32_t color, Integer format);

}  // namespace tw::render
