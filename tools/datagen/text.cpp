#include "text.hpp"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

namespace datagen {

namespace {

struct Fonts {
  std::string paths[3];
  std::map<std::pair<int, int>, TTF_Font*> open;  // (face, size)
};
Fonts g_fonts;

bool exists(const std::string& p) {
  if (FILE* f = std::fopen(p.c_str(), "rb")) {
    std::fclose(f);
    return true;
  }
  return false;
}

std::string firstExisting(std::initializer_list<const char*> list) {
  for (const char* p : list)
    if (exists(p)) return p;
  return {};
}

TTF_Font* font(Face face, int size) {
  const auto key = std::make_pair(static_cast<int>(face), size);
  auto it = g_fonts.open.find(key);
  if (it != g_fonts.open.end()) return it->second;
  TTF_Font* f = TTF_OpenFont(g_fonts.paths[static_cast<int>(face)].c_str(), size);
  if (f) TTF_SetFontHinting(f, TTF_HINTING_LIGHT);
  g_fonts.open[key] = f;
  return f;
}

}  // namespace

bool initText() {
  if (TTF_WasInit() == 0 && TTF_Init() != 0) return false;
  const std::string sans = firstExisting({"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"});
  g_fonts.paths[0] = firstExisting({"/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Black.otf",
                                    "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-ExtraBold.otf"});
  g_fonts.paths[1] = firstExisting({"/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Bold.otf"});
  g_fonts.paths[2] = sans;
  if (sans.empty()) return false;
  for (auto& p : g_fonts.paths)
    if (p.empty()) p = sans;
  return true;
}

void shutdownText() {
  for (auto& kv : g_fonts.open)
    if (kv.second) TTF_CloseFont(kv.second);
  g_fonts.open.clear();
  TTF_Quit();
}

const std::string& fontPath(Face face) { return g_fonts.paths[static_cast<int>(face)]; }

Mask textMask(Face face, int size, const std::string& utf8) {
  Mask m;
  TTF_Font* f = font(face, size);
  if (!f || utf8.empty()) return m;
  SDL_Surface* s = TTF_RenderUTF8_Blended(f, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  if (!s) return m;
  SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(s);
  if (!c) return m;
  m.w = c->w;
  m.h = c->h;
  m.a.resize(static_cast<std::size_t>(m.w * m.h));
  for (int y = 0; y < m.h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(c->pixels) + y * c->pitch);
    for (int x = 0; x < m.w; ++x) m.a[static_cast<std::size_t>(y * m.w + x)] = static_cast<float>(row[x] >> 24) / 255.0f;
  }
  SDL_FreeSurface(c);
  return m;
}

Mask dilate(const Mask& m, float radius) {
  // Pads by the radius so the grown outline is never cut off.
  const int pad = static_cast<int>(std::ceil(radius)) + 1;
  Mask out;
  out.w = m.w + 2 * pad;
  out.h = m.h + 2 * pad;
  out.a.assign(static_cast<std::size_t>(out.w * out.h), 0.0f);
  const int r = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) {
      float best = 0;
      for (int j = -r - 1; j <= r + 1; ++j)
        for (int i = -r - 1; i <= r + 1; ++i) {
          const float v = m.at(x - pad + i, y - pad + j);
          if (v <= 0) continue;
          // A source pixel of coverage v reaches `radius` pixels further out,
          // fading over one more pixel for an anti-aliased rim.
          const float d = std::hypot(static_cast<float>(i), static_cast<float>(j));
          best = std::max(best, v * std::clamp(radius + 1.0f - d, 0.0f, 1.0f));
        }
      out.a[static_cast<std::size_t>(y * out.w + x)] = best;
    }
  return out;
}

int textWidth(Face face, int size, const std::string& utf8) {
  int w = 0, h = 0;
  if (TTF_Font* f = font(face, size)) TTF_SizeUTF8(f, utf8.c_str(), &w, &h);
  return w;
}

bool hasGlyph(Face face, int size, char32_t ch) {
  TTF_Font* f = font(face, size);
  return f && TTF_GlyphIsProvided32(f, static_cast<Uint32>(ch)) != 0;
}

int lineHeight(Face face, int size) {
  TTF_Font* f = font(face, size);
  return f ? TTF_FontLineSkip(f) : size;
}

namespace {
struct Ink {
  int x0, y0, x1, y1;  // inclusive-exclusive bounds of non-zero coverage
};
Ink inkOf(const Mask& m) {
  Ink k{m.w, m.h, 0, 0};
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x)
      if (m.at(x, y) > 0.02f) {
        k.x0 = std::min(k.x0, x);
        k.y0 = std::min(k.y0, y);
        k.x1 = std::max(k.x1, x + 1);
        k.y1 = std::max(k.y1, y + 1);
      }
  if (k.x1 <= k.x0) k = {0, 0, m.w, m.h};
  return k;
}
}  // namespace

int fitSize(Face face, const std::string& utf8, int maxSize, int maxW, int maxH) {
  for (int s = maxSize; s > 6; --s) {
    if (textWidth(face, s, utf8) > maxW + s / 4) continue;
    const Mask m = textMask(face, s, utf8);
    const Ink k = inkOf(m);
    if (k.x1 - k.x0 <= maxW && k.y1 - k.y0 <= maxH) return s;
  }
  return 7;
}

void drawText(Image& img, Face face, int size, const std::string& utf8, float x, float cy, const TextStyle& st,
              int align) {
  const Mask fillMask = textMask(face, size, utf8);
  if (fillMask.w == 0) return;
  const Ink k = inkOf(fillMask);
  const float inkW = static_cast<float>(k.x1 - k.x0), inkH = static_cast<float>(k.y1 - k.y0);
  float left = align == 0 ? x - inkW / 2 : (align < 0 ? x : x - inkW);
  const float top = cy - inkH / 2;
  const int ox = static_cast<int>(std::lround(left)) - k.x0;
  const int oy = static_cast<int>(std::lround(top)) - k.y0;
  const float inkTop = static_cast<float>(oy + k.y0), inkBottom = static_cast<float>(oy + k.y1);

  const Mask outer = st.outlineWidth > 0 ? dilate(fillMask, st.outlineWidth) : fillMask;
  const int pad = (outer.w - fillMask.w) / 2;
  auto stamp = [&](const Mask& m, int mx, int my, auto colorAt) {
    for (int y = 0; y < m.h; ++y)
      for (int xx = 0; xx < m.w; ++xx) {
        const float a = m.at(xx, y);
        if (a <= 0) continue;
        const int px = mx + xx, py = my + y;
        if (px < 0 || py < 0 || px >= img.w || py >= img.h) continue;
        img.blend(px, py, colorAt(static_cast<float>(px), static_cast<float>(py)), a);
      }
  };
  if (st.shadowDx != 0 || st.shadowDy != 0)
    stamp(outer, ox - pad + static_cast<int>(st.shadowDx), oy - pad + static_cast<int>(st.shadowDy),
          [&](float, float) { return st.shadow; });
  if (st.outlineWidth > 0) stamp(outer, ox - pad, oy - pad, [&](float, float) { return st.outline; });
  stamp(fillMask, ox, oy, [&](float, float py) {
    const float t = (py - inkTop) / std::max(1.0f, inkBottom - inkTop);
    Color c = mix(st.top, st.bottom, t);
    if (st.gloss && t < 0.45f) c = mix(c, rgb(255, 255, 255), 0.35f * (1 - t / 0.45f));
    return c;
  });
}

void drawTextAt(Image& img, Face face, int size, const std::string& utf8, float x, float y, const Color& c) {
  const Mask m = textMask(face, size, utf8);
  const int ox = static_cast<int>(std::lround(x)), oy = static_cast<int>(std::lround(y));
  for (int j = 0; j < m.h; ++j)
    for (int i = 0; i < m.w; ++i) {
      const float a = m.at(i, j);
      const int px = ox + i, py = oy + j;
      if (a <= 0 || px < 0 || py < 0 || px >= img.w || py >= img.h) continue;
      img.blend(px, py, c, a);
    }
}

float drawParagraph(Image& img, Face face, int size, const std::string& utf8, float x, float y, float maxW,
                    const Color& c, float lineGap) {
  std::vector<std::string> words;
  std::string cur;
  for (char ch : utf8) {
    if (ch == ' ') {
      if (!cur.empty()) words.push_back(cur);
      cur.clear();
    } else {
      cur += ch;
    }
  }
  if (!cur.empty()) words.push_back(cur);
  const float step = static_cast<float>(lineHeight(face, size)) * lineGap;
  std::string line;
  for (const auto& w : words) {
    const std::string trial = line.empty() ? w : line + " " + w;
    if (!line.empty() && static_cast<float>(textWidth(face, size, trial)) > maxW) {
      drawTextAt(img, face, size, line, x, y, c);
      y += step;
      line = w;
    } else {
      line = trial;
    }
  }
  if (!line.empty()) {
    drawTextAt(img, face, size, line, x, y, c);
    y += step;
  }
  return y;
}

}  // namespace datagen
