// The menu: its screens, items and input.
#pragma once

#include <string>

#include "core/numeric.h"

namespace tw::frontend {

// The screen shown: "" (main menu), "options", "credits", "story", "story2",
// "howtoplay", "hs", "won".
extern std::string MenuScreen;
// The selected item; its meaning depends on the screen (main menu 1..7,
// other screens 10 Back/Next, options 12..15).
extern Integer MenuItem;
// A new game has been chosen and the menu is fading out.
extern bool NewGamePending;
// 100 while no game is pending; counts down for the fade into a game.
extern Single MenuFade;
// Main-menu frames without navigation (drives the idle replay).
extern Single IdleFrames;

// One menu frame: input, drawing, present.
void MenuFrame();

}  // namespace tw::frontend
