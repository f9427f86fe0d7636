// Text in the game's own bitmap font: a texture holding a grid of equally
// sized glyphs, described by "font.ini" beside the executable. One glyph
// table serves both font textures; the caller picks the texture per call.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/numeric.h"
#include "render/draw.h"

namespace tw::render {

inline constexpr int kGlyphCount = 121;

struct GlyphPoint {
  Integer x = 0;
  Integer y = 0;
};

struct GlyphTable {
  std::array<std::string, kGlyphCount> chars;  // UTF-8, normally one character each
  std::array<GlyphPoint, kGlyphCount> pos;     // top-left texel of each glyph
  Integer width = 0;                           // every glyph's size in texels
  Integer height = 0;
};

// The table every draw uses; filled by LoadFontDescription.
extern GlyphTable Glyphs;

// The layout of the shipped font sheets: an 11 x 11 grid of 23-pixel cells
// with 22 x 22 glyphs one texel in from each cell's corner.
GlyphTable BuiltInFontLayout();

// Reads a font description from INI text. A position without "x", a
// coordinate, width or height that is not a 16-bit number, a missing or
// non-positive width or height, or no character at all makes the whole
// description unusable: returns false and leaves `out` untouched. A UTF-8
// byte-order mark is skipped.
bool ParseFontDescription(std::string_view ini_text, GlyphTable& out);

// Fills Glyphs from application directory + "\font.ini"; the built-in
// layout when the file is missing, unreadable or malformed.
void LoadFontDescription();

// The first glyph whose character equals `character`, both sides with
// surrounding spaces removed; 0 when none does.
Integer GlyphIndex(std::string_view character);

// Draws `text` one glyph per character (UTF-8), each advancing the pen by the
// glyph width x scale and each turned `angle` degrees anticlockwise about its
// own centre. Alpha is a percentage (clamped to 0..100); red, green and blue
// multiply the glyph texels (0..255). The draw colour is not used.
void DrawBitmapText(std::string_view text, Single x, Single y, Texture font, Single scale,
                    Single angle, Integer alpha, Single red, Single green, Single blue);

}  // namespace tw::render
