// The menu's background: two turning copies of the loading picture (a black
// sheet with low details). It is also the overlay of the fades between the
// menu and a game, which is why it sits below both screens.
#pragma once

#include "core/numeric.h"

namespace tw::render {

// Turning angle of the high-detail background, in tenths of a degree.
extern Single BackgroundAngle;

// Draws the background at `alpha` percent; with high details it turns a step.
void DrawMenuBackground(Single alpha);

}  // namespace tw::render
