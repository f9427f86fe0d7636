#include "render/bitmap_font.h"

namespace tw::render {

// Placeholder until the bitmap font lands.
void LoadFontDescription() {}

}  // namespace tw::render
