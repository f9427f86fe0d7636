#include "render/bitmap_font.h"

#include <cstddef>
#include <optional>
#include <string>

#include "config/ini_store.h"
#include "platform/files.h"
#include "platform/video.h"

namespace tw::render {

GlyphTable Glyphs = BuiltInFontLayout();

namespace {

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Length of the UTF-8 character starting at s[at]; a byte that does not start
// a well-formed sequence counts as a character of its own.
std::size_t CharLength(std::string_view s, std::size_t at) {
  const auto lead = static_cast<unsigned char>(s[at]);
  std::size_t n = 1;
  if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
  } else if (lead >= 0xE0) {
    n = lead <= 0xEF ? 3 : 1;
  } else if (lead >= 0xC2) {
    n = 2;
  }
  if (at + n > s.size()) return 1;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(s[at + k]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

std::optional<Integer> ParseInteger(std::string_view text) {
  const auto value = num::ParseNumber(text);
  if (!value) return std::nullopt;
  return num::CIntChecked(*value);
}

std::uint32_t ColourByte(Single v) {
  const double clamped = v < 0.0f ? 0.0 : (v > 255.0f ? 255.0 : static_cast<double>(v));
  return static_cast<std::uint32_t>(num::CLng(clamped));
}

}  // namespace

GlyphTable BuiltInFontLayout() {
  GlyphTable t;
  t.width = 22;
  t.height = 22;
  for (int n = 0; n < kGlyphCount; ++n) {
    t.pos[static_cast<std::size_t>(n)] = {static_cast<Integer>(23 * (n % 11) + 1),
                                          static_cast<Integer>(23 * (n / 11) + 1)};
    t.chars[static_cast<std::size_t>(n)] = " ";
  }
  for (int n = 0; n < 10; ++n) t.chars[static_cast<std::size_t>(1 + n)] = std::string(1, static_cast<char>('0' + n));
  for (int n = 0; n < 26; ++n) {
    t.chars[static_cast<std::size_t>(11 + n)] = std::string(1, static_cast<char>('A' + n));
    t.chars[static_cast<std::size_t>(44 + n)] = std::string(1, static_cast<char>('a' + n));
  }
  static const char* const kSigns[] = {".", ",", ":", ";", "'", "\"", "-", "+", "\\", "/", "*", "=",
                                       "(", ")", "[", "]", "<", ">", "_", "!", "?", "#", "&", "$",
                                       "\xE2\x82\xAC", "%", "\xC2\xA9", "@"};
  for (std::size_t n = 0; n < std::size(kSigns); ++n) t.chars[77 + n] = kSigns[n];
  return t;
}

bool ParseFontDescription(std::string_view ini_text, GlyphTable& out) {
  if (ini_text.substr(0, 3) == "\xEF\xBB\xBF") ini_text.remove_prefix(3);  // UTF-8 byte-order mark
  GlyphTable t;
  bool any_char = false;
  for (int n = 0; n < kGlyphCount; ++n) {
    const std::string key = std::to_string(n);
    const auto i = static_cast<std::size_t>(n);
    t.chars[i] = config::ReadIniText(ini_text, "Signs value", key);
    any_char |= !t.chars[i].empty();
    const std::string pos = config::ReadIniText(ini_text, "Signs position", key);
    if (pos.empty()) continue;  // a missing position stays (0, 0)
    const std::size_t sep = pos.find('x');
    if (sep == std::string::npos) return false;
    const std::string_view rest = std::string_view(pos).substr(sep + 1);
    const auto x = ParseInteger(std::string_view(pos).substr(0, sep));
    const auto y = ParseInteger(rest.substr(0, rest.find('x')));  // further pieces are ignored
    if (!x || !y) return false;
    t.pos[i] = {*x, *y};
  }
  const auto width = ParseInteger(config::ReadIniText(ini_text, "Letter sizes", "Width"));
  const auto height = ParseInteger(config::ReadIniText(ini_text, "Letter sizes", "Height"));
  if (!width || !height || *width <= 0 || *height <= 0) return false;
  // Without a single character every letter would draw as glyph 0.
  if (!any_char) return false;
  t.width = *width;
  t.height = *height;
  out = std::move(t);
  return true;
}

void LoadFontDescription() {
  Glyphs = BuiltInFontLayout();
  const std::string path = platform::AppPath("\\font.ini");
  if (!platform::FileExists(path)) return;
  const auto text = platform::ReadFile(path);
  if (!text) return;
  GlyphTable parsed;
  if (ParseFontDescription(*text, parsed)) Glyphs = std::move(parsed);
}

Integer GlyphIndex(std::string_view character) {
  const std::string_view c = TrimSpaces(character);
  for (int n = 0; n < kGlyphCount; ++n) {
    if (TrimSpaces(Glyphs.chars[static_cast<std::size_t>(n)]) == c) return static_cast<Integer>(n);
  }
  return 0;
}

void DrawBitmapText(std::string_view text, Single x, Single y, Texture font, Single scale,
                    Single angle, Integer alpha, Single red, Single green, Single blue) {
  const Integer w = Glyphs.width, h = Glyphs.height;
  platform::Quad q;
  q.src_w = w;
  q.src_h = h;
  q.y = y;
  q.width = static_cast<float>(w) * scale;
  q.height = static_cast<float>(h) * scale;
  q.angle_ccw = angle;
  q.center_x = static_cast<float>(w) / 2.0f * scale;
  q.center_y = static_cast<float>(h) / 2.0f * scale;
  q.argb = Argb(AlphaFromPercent(alpha), ColourByte(red), ColourByte(green), ColourByte(blue));
  long position = 0;
  for (std::size_t at = 0; at < text.size(); ++position) {
    const std::size_t len = CharLength(text, at);
    // The pen offset is a 16-bit product; past its range the text is far off
    // the canvas, so drawing stops there instead of wrapping round.
    const long offset = position * static_cast<long>(w);
    if (offset > 32767 || offset < -32768) break;
    const GlyphPoint& p = Glyphs.pos[static_cast<std::size_t>(GlyphIndex(text.substr(at, len)))];
    q.src_x = p.x;
    q.src_y = p.y;
    q.x = x + static_cast<float>(offset) * scale;
    platform::DrawQuad(font, q);
    at += len;
  }
}

}  // namespace tw::render
