// The font description: any text either gives a usable glyph table or is
// refused whole, leaving the table untouched.
#include "fuzz_support.h"
#include "render/bitmap_font.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw::render;
  static const GlyphTable kBefore = BuiltInFontLayout();
  GlyphTable table = kBefore;
  if (ParseFontDescription(tw::fuzz::AsText(data, size), table)) {
    TW_FUZZ_CHECK(table.width > 0 && table.height > 0);
    Glyphs = table;
    for (const char* c : {"A", " ", "0", "?", ""}) {
      const tw::Integer i = GlyphIndex(c);
      TW_FUZZ_CHECK(i >= 0 && i < kGlyphCount);
    }
  } else {
    TW_FUZZ_CHECK(table.width == kBefore.width && table.height == kBefore.height && table.chars == kBefore.chars);
  }
  return 0;
}
