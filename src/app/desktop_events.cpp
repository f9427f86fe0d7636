#include "app/desktop_events.h"

#include "config/options.h"
#include "core/game_state.h"
#include "platform/video.h"
#include "render/device.h"
#include "world/player.h"

namespace tw::app {

void ToggleFullScreen() {
  const bool full = !platform::IsFullScreen();
  if (!platform::SetFullScreen(full)) return;
  config::GameOptions.FULL_SCREEN = full;
  config::GameOptions.FullScreenChoice = full;
  render::Display.FullScreen = full;
  platform::SetCursorVisible(!full);
  config::SaveOptions();
}

void PauseWhileAway() {
  if (core::InGame && !core::GameOver && !core::ReplayPlayback) core::Paused = true;
}

}  // namespace tw::app
