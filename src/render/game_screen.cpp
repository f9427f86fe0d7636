#include "render/game_screen.h"

#include "render/device.h"
#include "render/draw.h"

namespace tw::render {

// Until the full game screen lands: a plain dark canvas, presented, so a game
// frame is visibly alive.
void RenderGame() {
  SetDrawColor(0, 0, 0);
  FillCanvas(0xFF101830u);
  SetDrawColor(255, 255, 255);
  EndFrame();
}

}  // namespace tw::render
