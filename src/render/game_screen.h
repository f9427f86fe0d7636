// The game screen: everything drawn during a game.
#pragma once

#include "core/numeric.h"

namespace tw::render {

// Draws and presents one game frame. It only reads: the frame's rules and
// the looks they move ran before it. `menuOverlay` is the opacity of the
// menu's background laid over the game while the menu's fade lifts (below 0:
// none).
void RenderGame(Single menuOverlay = -1.0f);

// The tile texture slot for a cell value: grey versions for untouched tiles
// when `grey`, glass as its grey picture only when `greyGlass`. 0 (nothing)
// for values without a picture.
int TileTextureSlot(Integer value, bool grey, bool greyGlass);
// Digits of the score box: 1 below 10, ... 5 from 10,000 on.
int ScoreDigits(Single score);

}  // namespace tw::render
