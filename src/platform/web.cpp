#include "platform/web.h"

#include <SDL.h>

#include <string>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
// EM_ASM's JavaScript names its arguments $0, $1...
#pragma clang diagnostic ignored "-Wdollar-in-identifier-extension"
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
  // A run code is a couple of kilobytes: copied over only when it changes.
  static std::string published_run;
  if (published_run != s.run) {
    published_run = s.run;
    EM_ASM(Module.twRunCode = UTF8ToString($0), s.run);
  }
  EM_ASM(Module.twSetState(UTF8ToString($0), $1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, UTF8ToString($12), $13),
         s.screen, s.item, s.in_game, s.paused, s.game_over, s.level, s.frame, s.score, s.x, s.y, s.fps, s.naming,
         s.name, s.held);
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

extern "C" {
#ifdef __EMSCRIPTEN__
EMSCRIPTEN_KEEPALIVE
#endif
void tw_page_key(const char* sdl_key_name, int down) {
  if (sdl_key_name == nullptr || SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  const SDL_Scancode sc = SDL_GetScancodeFromName(sdl_key_name);
  if (sc == SDL_SCANCODE_UNKNOWN) return;
  SDL_Event e{};
  e.type = down != 0 ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.timestamp = SDL_GetTicks();
  SDL_Window* focus = SDL_GetKeyboardFocus();
  e.key.windowID = focus != nullptr ? SDL_GetWindowID(focus) : 0;
  e.key.state = down != 0 ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = sc;
  e.key.keysym.sym = SDL_GetKeyFromScancode(sc);
  SDL_PushEvent(&e);
}
}

}  // namespace tw::platform
