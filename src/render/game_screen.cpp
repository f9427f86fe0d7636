#include "render/game_screen.h"

#include "core/game_state.h"
#include "frontend/menu.h"
#include "frontend/menu_screens.h"
#include "render/device.h"
#include "render/draw.h"
#include "world/player.h"

namespace tw::render {

namespace {

// Fade in from the menu: the menu's background lifts off over 50 frames.
void FadeFromMenu() {
  if (frontend::MenuFade > 0 && frontend::MenuItem == 10) {
    frontend::MenuFade -= 2;
    if (frontend::MenuFade < 0) frontend::MenuFade = 0;
    frontend::DrawMenuBackground(frontend::MenuFade);
  }
}

// Hand-back at the end of a game: the screen darkens, then the menu takes over.
void HandBack() {
  if (world::EndFade > 0) {
    world::EndFade -= 2;
    if (world::EndFade <= 0) {
      frontend::ReturnFade = 100;
      core::InGame = false;
    }
    frontend::DrawMenuBackground(100 - world::EndFade);
  }
}

}  // namespace

void RenderGame() {
  SetDrawColor(0, 0, 0);
  FillCanvas(0xFF101830u);
  SetDrawColor(255, 255, 255);
  FadeFromMenu();
  HandBack();
  EndFrame();
}

}  // namespace tw::render
