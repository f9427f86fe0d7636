#include "render/catalogue.h"

namespace tw::render {

// Placeholders until the catalogue lands.
void LoadSounds() {}
void LoadAllTextures() {}

}  // namespace tw::render
