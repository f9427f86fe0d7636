#include "fontsheet.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "text.hpp"

namespace datagen {

const std::vector<std::string>& glyphChars() {
  static const std::vector<std::string> chars = [] {
    std::vector<std::string> v(kGlyphCount);
    v[0] = "";
    for (int i = 0; i < 10; ++i) v[static_cast<std::size_t>(1 + i)] = std::string(1, static_cast<char>('0' + i));
    for (int i = 0; i < 26; ++i) v[static_cast<std::size_t>(11 + i)] = std::string(1, static_cast<char>('A' + i));
    for (int i = 0; i < 26; ++i) v[static_cast<std::size_t>(44 + i)] = std::string(1, static_cast<char>('a' + i));
    const char* punct[] = {".", ",", ":", ";", "'", "\"", "-", "+", "\\", "/", "*", "=",
                           "(", ")", "[", "]", "<", ">", "_", "!", "?", "#", "&", "$",
                           "\xE2\x82\xAC", "%", "\xC2\xA9", "@"};
    for (int i = 0; i < 28; ++i) v[static_cast<std::size_t>(77 + i)] = punct[i];
    return v;
  }();
  return chars;
}

int glyphX(int index) { return kGlyphCell * (index % 11) + 1; }
int glyphY(int index) { return kGlyphCell * (index / 11) + 1; }

namespace {

char32_t firstCodePoint(const std::string& s) {
  const auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(s[i])); };
  if (s.empty()) return 0;
  if (b(0) < 0x80) return b(0);
  if ((b(0) & 0xE0) == 0xC0) return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
  return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
}

struct Ink {
  int top = 1 << 20, bottom = -1, left = 1 << 20, right = -1;
};

Ink inkOf(const Mask& m) {
  Ink k;
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x)
      if (m.at(x, y) > 0.05f) {
        k.top = std::min(k.top, y);
        k.bottom = std::max(k.bottom, y + 1);
        k.left = std::min(k.left, x);
        k.right = std::max(k.right, x + 1);
      }
  return k;
}

}  // namespace

Image fontSheet(SheetStyle style) {
  const float outline = style == SheetStyle::Blue ? 1.5f : 1.0f;
  const Face main = style == SheetStyle::Blue ? Face::Display : Face::Body;
  const auto& chars = glyphChars();
  auto faceFor = [&](const std::string& c, int size) {
    return hasGlyph(main, size, firstCodePoint(c)) ? main : Face::Sans;
  };
  // The size is chosen so that letters and digits fill the 22 x 22 box on a
  // common baseline; the few taller or wider signs are drawn a little smaller.
  const int room = kGlyphSize - 2 * static_cast<int>(std::ceil(outline));
  auto isCore = [](const std::string& c) {
    return c.size() == 1 && std::isalnum(static_cast<unsigned char>(c[0])) != 0;
  };
  auto extent = [&](int sz, bool coreOnly, int& t, int& b, int& w) {
    t = 1 << 20;
    b = -1;
    w = 0;
    for (const auto& c : chars) {
      if (c.empty() || (coreOnly && !isCore(c))) continue;
      const Ink k = inkOf(textMask(faceFor(c, sz), sz, c));
      if (k.bottom < 0) continue;
      t = std::min(t, k.top);
      b = std::max(b, k.bottom);
      w = std::max(w, k.right - k.left);
    }
  };
  int size = 30, top = 0;
  for (; size > 8; --size) {
    int t = 0, b = 0, w = 0;
    extent(size, true, t, b, w);
    if (b - t <= room && w <= room) {
      top = t - (room - (b - t)) / 2;
      break;
    }
  }
  // A sign that does not fit at the common size gets the largest size that
  // fits its own box, centred on the letters' band.
  auto glyphSize = [&](const std::string& c, int& gTop) {
    gTop = top;
    for (int sz = size; sz > 6; --sz) {
      const Ink k = inkOf(textMask(faceFor(c, sz), sz, c));
      if (k.bottom < 0) return sz;
      const int tt = sz == size ? top : k.top - (room - (k.bottom - k.top)) / 2;
      if (k.top - tt >= 0 && k.bottom - tt <= room && k.right - k.left <= room) {
        gTop = tt;
        return sz;
      }
    }
    return 6;
  };

  Image img(256, 256);  // the grid covers 253 x 253; the rest stays transparent
  for (int i = 0; i < kGlyphCount; ++i) {
    const std::string& c = chars[static_cast<std::size_t>(i)];
    if (c.empty()) continue;
    int gTop = top;
    const int gSize = glyphSize(c, gTop);
    const Face face = faceFor(c, gSize);
    const Mask m = textMask(face, gSize, c);
    const Ink k = inkOf(m);
    if (k.bottom < 0) continue;
    const float cellX = static_cast<float>(glyphX(i)), cellY = static_cast<float>(glyphY(i));
    const float inkW = static_cast<float>(k.right - k.left);
    const float x = cellX + (static_cast<float>(kGlyphSize) - inkW) / 2 - static_cast<float>(k.left);
    const float y = cellY + std::ceil(outline) - static_cast<float>(gTop);
    const Mask fat = dilate(m, outline);
    const int pad = (fat.w - m.w) / 2;
    // Each glyph is composed in its own cell-sized picture so that nothing
    // spills into a neighbouring cell.
    Image cell(kGlyphSize, kGlyphSize);
    const int ox = static_cast<int>(std::lround(x - cellX)), oy = static_cast<int>(std::lround(y - cellY));
    for (int yy = 0; yy < kGlyphSize; ++yy)
      for (int xx = 0; xx < kGlyphSize; ++xx) {
        const float edge = fat.at(xx - ox + pad, yy - oy + pad);
        const float body = m.at(xx - ox, yy - oy);
        const float t = static_cast<float>(yy) / static_cast<float>(kGlyphSize);
        Color fillC = style == SheetStyle::Blue ? mix(rgb(196, 236, 255), rgb(36, 104, 232), t * 1.2f - 0.1f)
                                                : mix(rgb(255, 255, 255), rgb(220, 224, 232), t);
        if (style == SheetStyle::Blue && t < 0.38f) fillC = mix(fillC, rgb(255, 255, 255), 0.25f);
        const Color edgeC = style == SheetStyle::Blue ? rgb(12, 24, 78) : rgb(24, 26, 40);
        cell.blend(xx, yy, edgeC, edge);
        cell.blend(xx, yy, fillC, body);
      }
    blit(img, cell, cellX, cellY);
  }
  return img;
}

std::string fontIni() {
  std::string s;
  const auto& chars = glyphChars();
  s += "; Bitmap font layout: the character of each glyph and its top-left pixel\r\n";
  s += "; in the font sheets (fonts/blue.bmp, fonts/default_num.bmp). UTF-8.\r\n";
  s += "[Signs value]\r\n";
  for (int i = 0; i < kGlyphCount; ++i) s += std::to_string(i) + "=" + chars[static_cast<std::size_t>(i)] + "\r\n";
  s += "\r\n[Signs position]\r\n";
  for (int i = 0; i < kGlyphCount; ++i)
    s += std::to_string(i) + "=" + std::to_string(glyphX(i)) + "x" + std::to_string(glyphY(i)) + "\r\n";
  s += "\r\n[Letter sizes]\r\n";
  s += "Width=" + std::to_string(kGlyphSize) + "\r\n";
  s += "Height=" + std::to_string(kGlyphSize) + "\r\n";
  return s;
}

}  // namespace datagen
