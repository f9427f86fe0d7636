// The bitmap font: layout, font.ini parsing and the drawn geometry measured
// on the offscreen canvas with a texture whose texels spell their own
// coordinates (red = x, green = y).
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/files.h"
#include "platform/video.h"
#include "render/bitmap_font.h"
#include "render/draw.h"
#include "offscreen_canvas.h"
#include "test_support.h"

namespace tw::render {
namespace {

std::string Key(int n) { return std::to_string(n); }

// A font.ini holding the built-in layout, with `tweak` applied to its lines.
std::string BuiltInIni() {
  const GlyphTable t = BuiltInFontLayout();
  std::string s = "[Signs value]\n";
  for (int n = 0; n < kGlyphCount; ++n) s += Key(n) + "=" + t.chars[static_cast<std::size_t>(n)] + "\n";
  s += "[Signs position]\n";
  for (int n = 0; n < kGlyphCount; ++n) {
    const auto& p = t.pos[static_cast<std::size_t>(n)];
    s += Key(n) + "=" + std::to_string(p.x) + "x" + std::to_string(p.y) + "\n";
  }
  s += "[Letter sizes]\nWidth=22\nHeight=22\n";
  return s;
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  const auto at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

TEST(BitmapFontLayout, GlyphIndexFindsCharactersAndFallsBackToGlyphZero) {
  Glyphs = BuiltInFontLayout();
  // Several bytes make one character; space, unknown characters and the
  // empty string all fall to glyph 0; surrounding spaces are ignored.
  for (const auto& [text, glyph] : {std::pair{"A", 11}, {"\xE2\x82\xAC", 101}, {"\xC2\xA9", 103}, {" ", 0}, {"~", 0},
                                    {"", 0}, {" Q ", 27}})
    EXPECT_EQ(GlyphIndex(text), glyph) << text;
}

TEST(BitmapFontDescription, ReadsValuesPositionsAndSizes) {
  GlyphTable t;
  std::string ini = BuiltInIni();
  ini = Replace(ini, "\n5=116x1\n", "\n");  // key 5 missing
  ini = Replace(ini, "11=1x24\n", "11=300x-7x99\n");                      // pieces past y ignored
  ini = Replace(ini, "Width=22", "Width=16");
  ini = Replace(ini, "Height=22", "Height=20");
  ini = Replace(ini, "\n120= \n", "\n");  // a missing character reads as empty
  ASSERT_TRUE(ParseFontDescription(ini, t));
  EXPECT_EQ(std::tuple(t.pos[5].x, t.pos[5].y, t.pos[11].x, t.pos[11].y, t.pos[104].x), std::tuple(0, 0, 300, -7, 116));
  EXPECT_EQ(std::tuple(t.width, t.height), std::tuple(16, 20));
  EXPECT_EQ(std::tuple(t.chars[11], t.chars[101], t.chars[120]), std::tuple("A", "\xE2\x82\xAC", ""));

  // A byte-order mark in front of the first section does not hide it.
  GlyphTable with_bom;
  ASSERT_TRUE(ParseFontDescription("\xEF\xBB\xBF" + BuiltInIni(), with_bom));
  EXPECT_EQ(with_bom.chars[11], "A");
}

TEST(BitmapFontDescription, MalformedFilesAreRejectedWhole) {
  const std::string good = BuiltInIni();
  const std::pair<const char*, std::string> bad[] = {
      {"position without x", Replace(good, "11=1x24\n", "11=1,24\n")},
      {"upper-case X", Replace(good, "11=1x24\n", "11=1X24\n")},
      {"non-number x", Replace(good, "11=1x24\n", "11=ax24\n")},
      {"missing y", Replace(good, "11=1x24\n", "11=1x\n")},
      {"coordinate past 16 bits", Replace(good, "11=1x24\n", "11=40000x24\n")},
      {"non-number width", Replace(good, "Width=22", "Width=wide")},
      {"zero height", Replace(good, "Height=22", "Height=0")},
      {"no sizes", Replace(good, "[Letter sizes]\nWidth=22\nHeight=22\n", "")},
      {"no characters", Replace(good, "[Signs value]", "[Other]")},
  };
  for (const auto& [what, text] : bad) {
    GlyphTable t;
    t.width = 99;
    EXPECT_FALSE(ParseFontDescription(text, t)) << what;
    EXPECT_EQ(t.width, 99) << what << ": output touched";
  }
}

TEST(BitmapFontLoad, FileIsUsedWhenWellFormedAndOtherwiseTheBuiltInLayout) {
  test::TempDir dir;
  platform::SetAppDir(dir.path);
  Glyphs.width = 5;
  LoadFontDescription();  // no file
  EXPECT_EQ(Glyphs.width, 22);
  EXPECT_EQ(GlyphIndex("A"), 11);

  // Swap the places of "A" and "B"; the name is found in any letter case.
  std::string ini = Replace(BuiltInIni(), "11=A\n12=B\n", "11=B\n12=A\n");
  test::WriteText(dir.File("FONT.INI"), Replace(ini, "Width=22", "Width=10"));
  LoadFontDescription();
  EXPECT_EQ(std::tuple(GlyphIndex("A"), GlyphIndex("B"), Glyphs.width), std::tuple(12, 11, 10));

  // One malformed position: the whole file is set aside.
  test::WriteText(dir.File("FONT.INI"), Replace(ini, "30=185x47\n", "30=18547\n"));
  LoadFontDescription();
  EXPECT_EQ(std::tuple(GlyphIndex("A"), Glyphs.pos[30].x), std::tuple(11, 185));
}

// ---- Drawn geometry --------------------------------------------------------

class BitmapFontCanvas : public test::OffscreenCanvasTest {
 protected:
  void SetUp() override {
    test::OffscreenCanvasTest::SetUp();
    // Texel (x, y) = opaque (x, y, 77): every drawn pixel names its source texel.
    std::vector<std::uint32_t> texels(256 * 256);
    for (std::uint32_t y = 0; y < 256; ++y) {
      for (std::uint32_t x = 0; x < 256; ++x) texels[y * 256 + x] = 0xFF00004Du | (x << 16) | (y << 8);
    }
    sheet_ = platform::CreateTexture(256, 256, texels.data(), true);
    ASSERT_NE(sheet_, 0);
    Glyphs = BuiltInFontLayout();
  }

  static int R(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
  static int G(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
  static int B(std::uint32_t p) { return static_cast<int>(p & 0xFF); }
  static std::pair<int, int> RG(std::uint32_t p) { return {R(p), G(p)}; }

  // The box of pixels that were drawn (blue channel 77, untouched canvas is 0).
  struct Box {
    int left = 640, top = 480, right = -1, bottom = -1;
    bool operator==(const Box&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const Box& b) {
      return o << b.left << "," << b.top << " to " << b.right << "," << b.bottom;
    }
  };
  static Box DrawnBox(const test::CanvasShot& at, int x0, int y0, int x1, int y1) {
    Box b;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        if (B(at(x, y)) == 77) {
          b.left = std::min(b.left, x);
          b.top = std::min(b.top, y);
          b.right = std::max(b.right, x + 1);
          b.bottom = std::max(b.bottom, y + 1);
        }
      }
    }
    return b;
  }

  platform::TextureHandle sheet_ = 0;
};

TEST_F(BitmapFontCanvas, GlyphsComeFromTheirCellsAtTexelSize) {
  DrawBitmapText("A", 100, 100, sheet_, 1, 0, 100, 255, 255, 255);
  DrawBitmapText("a@~", 200, 300, sheet_, 1, 0, 100, 255, 255, 255);
  DrawBitmapText("AB", 10, 10, sheet_, 2, 0, 100, 255, 255, 255);
  DrawBitmapText("HELLO", 100, 400, 0, 1, 0, 100, 255, 255, 255);  // an empty slot draws nothing
  const test::CanvasShot at;
  EXPECT_EQ(DrawnBox(at, 90, 390, 300, 440).right, -1);
  EXPECT_EQ(DrawnBox(at, 0, 0, 120, 70), (Box{10, 10, 98, 54}));  // scale 2 doubles size and advance
  // "A": source (1, 24) to (23, 46), 22 x 22 at (100, 100).
  EXPECT_EQ(DrawnBox(at, 90, 90, 140, 140), (Box{100, 100, 122, 122}));
  EXPECT_EQ(RG(at(100, 100)), std::pair(1, 24));
  EXPECT_EQ(RG(at(121, 121)), std::pair(22, 45));
  // "a" from (1, 93); "@" from (116, 208); "~" is glyph 0, from (1, 1).
  EXPECT_EQ(std::tuple(RG(at(200, 300)), RG(at(222, 300)), RG(at(244, 300)), DrawnBox(at, 190, 290, 300, 340).right),
            std::tuple(std::pair(1, 93), std::pair(116, 208), std::pair(1, 1), 266));
}

TEST_F(BitmapFontCanvas, EachGlyphTurnsAboutItsOwnCentre) {
  DrawBitmapText("AB", 100, 100, sheet_, 1, 90, 100, 255, 255, 255);
  const test::CanvasShot at;
  // The pair is not turned as a whole: both glyphs keep their squares.
  EXPECT_EQ(DrawnBox(at, 60, 60, 200, 200), (Box{100, 100, 144, 122}));
  // A quarter turn anticlockwise: each glyph's top-left texel ends at the bottom-left of its square.
  EXPECT_NEAR(R(at(100, 121)), 1, 1);
  EXPECT_NEAR(R(at(122, 121)), 24, 1);
}

}  // namespace
}  // namespace tw::render
