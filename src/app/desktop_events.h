// What the desktop asks of a running game beyond keys: switching between
// window and full screen, and stepping away (the window loses the focus or a
// controller is unplugged).
#pragma once

namespace tw::app {

// Alt+Enter or F11: switches at once and keeps the choice as the options
// screen keeps it (saved as "FULL_SCREEN", shown on that screen).
void ToggleFullScreen();
// Pauses a game in play so nothing happens while the player is away. A
// replay being watched, a game already over and the menu are left alone.
void PauseWhileAway();

}  // namespace tw::app
