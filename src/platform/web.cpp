#include "platform/web.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace tw::platform {

#ifdef __EMSCRIPTEN__

namespace {
void (*g_tick)() = nullptr;
void Tick() { g_tick(); }
}  // namespace

bool BrowserOwnsLoop() { return true; }

void RunBrowserLoop(void (*tick)()) {
  g_tick = tick;
  // 0: the browser's own refresh (requestAnimationFrame); false: return now
  // rather than unwind the caller's stack, the run's state lives in globals.
  emscripten_set_main_loop(Tick, 0, false);
}

void StopBrowserLoop(int exit_code) {
  emscripten_cancel_main_loop();
  EM_ASM({ if (Module.twRunEnded) Module.twRunEnded($0); }, exit_code);
}

void PublishPageState(const PageState& s) {
  EM_ASM(
      {
        Module.gameState = {
          screen : UTF8ToString($0),
          inGame : !!$1,
          paused : !!$2,
          gameOver : !!$3,
          level : $4,
          frame : $5,
          score : $6,
          x : $7,
          y : $8,
          fps : $9
        };
      },
      s.screen, s.in_game, s.paused, s.game_over, s.level, s.frame, s.score, s.x, s.y, s.fps);
}

void SyncSaves() {
  EM_ASM({ if (Module.twSyncSaves) Module.twSyncSaves(); });
}

const char* BrowserSaveDir() { return "/save"; }

#else

bool BrowserOwnsLoop() { return false; }
void RunBrowserLoop(void (*)()) {}
void StopBrowserLoop(int) {}
void PublishPageState(const PageState&) {}
void SyncSaves() {}
const char* BrowserSaveDir() { return ""; }

#endif

}  // namespace tw::platform
