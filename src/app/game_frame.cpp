#include "app/game_frame.h"

#include "app/main_loop.h"
#include "app/report.h"
#include "config/saves.h"
#include "core/game_state.h"
#include "frontend/end_of_game.h"
#include "frontend/menu.h"
#include "input/autoplayer.h"
#include "input/controls.h"
#include "input/keyboard.h"
#include "input/name_entry.h"
#include "render/debug_overlay.h"
#include "render/game_screen.h"
#include "render/screenshot.h"
#include "replay/replay.h"
#include "world/frame.h"

namespace tw::app {

bool Autoplaying = false;
void (*OnIntents)() = nullptr;

// The steps run in the order the game always ran them; several rules read
// what an earlier step of the same frame left, so the order is the game's.
// The rules pass runs while paused too, and only on the visible rows: the
// game always ran those rules with the drawing, so a paused creature still
// picks up a bonus it touches, popups and particles keep moving, and a cell
// off the screen never meets the drills or the water. Drawing comes last and
// only reads.
void GameFrame() {
  replay::PlayPauses();
  if (!core::GameOver) {
    const core::FrameCommands commands = input::ReadControls();
    world::ApplyCommands(commands);
    if (Autoplaying) input::Autoplay();
    if (OnIntents) OnIntents();
    if (commands.Screenshot) render::TakeScreenshot();
  }
  if (core::GameOver) frontend::TypeName(input::ScanNameKeys());
  if (!core::Paused) {
    replay::ReplayStep();
    world::Step();
    render::UpdateDebugText();
    frontend::EndOfGameCheck();
  } else {
    replay::PausedFrame();
  }
  if (world::RunFrameRules()) frontend::ReturnFade = 100;  // the menu fades in
  const Single menuOverlay = frontend::LiftMenuFade();
  render::RenderGame(menuOverlay);
  GameFrameMusic();
  TrackGameResult();
  TrackStateTrail();
}

void EndOfFrame() {
  config::CountDownSaveNotice();
  input::ReadKeyboard();  // a failed read keeps last frame's table
}

}  // namespace tw::app
