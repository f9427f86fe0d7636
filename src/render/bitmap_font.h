// Text in the game's own bitmap font.
#pragma once

namespace tw::render {

// Reads the font description beside the executable.
void LoadFontDescription();

}  // namespace tw::render
