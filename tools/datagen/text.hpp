// Words on pictures: glyph coverage from SDL_ttf, composited with the same
// cartoon styling (outline, gradient fill, drop shadow) as the shapes.
#pragma once

#include <string>
#include <vector>

#include "image.hpp"

namespace datagen {

enum class Face { Display, Body, Sans };  // heavy headline, readable body, wide-coverage fallback

struct Mask {
  int w = 0, h = 0;
  std::vector<float> a;  // coverage 0..1
  float at(int x, int y) const {
    return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : a[static_cast<std::size_t>(y * w + x)];
  }
};

struct TextStyle {
  Color top = rgb(255, 255, 255);
  Color bottom = rgb(255, 255, 255);
  Color outline = rgb(20, 30, 70);
  float outlineWidth = 0;  // pixels; 0 = none
  float shadowDx = 0, shadowDy = 0;
  Color shadow = rgb(0, 0, 0, 0.45f);
  bool gloss = false;  // a soft highlight band over the upper half of the letters
};

bool initText();  // false when no usable font file is found
void shutdownText();
const std::string& fontPath(Face face);

Mask textMask(Face face, int size, const std::string& utf8);
Mask dilate(const Mask& m, float radius);  // grows the coverage by `radius` pixels, anti-aliased
int textWidth(Face face, int size, const std::string& utf8);
bool hasGlyph(Face face, int size, char32_t ch);
int lineHeight(Face face, int size);
// Largest size <= maxSize whose rendered ink fits maxW x maxH.
int fitSize(Face face, const std::string& utf8, int maxSize, int maxW, int maxH);

// Draws text so that its ink is centred on (cx, cy) or (align < 0) starts at x
// with its ink's vertical centre on cy, or (align > 0) ends at x.
void drawText(Image& img, Face face, int size, const std::string& utf8, float x, float cy, const TextStyle& st,
              int align = 0);
// Draws text with its baseline-relative box top at (x, y): for running text.
void drawTextAt(Image& img, Face face, int size, const std::string& utf8, float x, float y, const Color& c);
// Word-wraps `utf8` into lines no wider than maxW; returns the y after the last line.
float drawParagraph(Image& img, Face face, int size, const std::string& utf8, float x, float y, float maxW,
                    const Color& c, float lineGap = 1.15f);

}  // namespace datagen
