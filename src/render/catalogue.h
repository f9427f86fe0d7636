// The texture and sound catalogue: every picture and sound, loaded once at
// start-up behind the loading screen.
#pragma once

#include "render/draw.h"

namespace tw::render {

// Sound names and the two music tracks.
void LoadSounds();
// Every picture, in catalogue order.
void LoadAllTextures();

}  // namespace tw::render
