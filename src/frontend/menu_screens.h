// Drawing the menu screens.
#pragma once

#include "core/numeric.h"

namespace tw::frontend {

// Set to 100 when a finished game hands back to the menu; the menu fades in.
extern Single ReturnFade;

// The menu's background, also the transition overlay of the fades into and
// out of a game; alpha is a percentage.
void DrawMenuBackground(Single alpha);

}  // namespace tw::frontend
