// The two bitmap-font sheets and the description of their layout.
#pragma once

#include <string>
#include <vector>

#include "image.hpp"

namespace datagen {

constexpr int kGlyphCount = 121;
constexpr int kGlyphCell = 23;  // the sheet is an 11 x 11 grid of these
constexpr int kGlyphSize = 22;  // each glyph starts one pixel into its cell

// The character of each glyph, UTF-8; blank cells are empty strings.
const std::vector<std::string>& glyphChars();
int glyphX(int index);
int glyphY(int index);

enum class SheetStyle { Blue, Labels };
Image fontSheet(SheetStyle style);
std::string fontIni();  // CRLF line ends

}  // namespace datagen
