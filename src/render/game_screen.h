// The game screen: everything drawn during a game, and the share of game logic
// that runs with the drawing every frame (also while paused).
#pragma once

namespace tw::render {

void RenderGame();

}  // namespace tw::render
