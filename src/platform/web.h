// The browser's side of the program. In the browser the page owns the main
// loop (the game is called once per display refresh and must never block),
// files saved live in IndexedDB, and the page shows the game's state. On the
// desktop every call here is a no-op.
#pragma once

namespace tw::platform {

// True in the browser build: the frames are the page's to call.
bool BrowserOwnsLoop();
// Hands the frames to the page: `tick` runs once per display refresh until
// StopBrowserLoop. Returns at once; the program lives on in the page.
void RunBrowserLoop(void (*tick)());
// Ends the page's loop: the run is over with this exit code (the page shows
// it and its tests read it).
void StopBrowserLoop(int exit_code);

// What the page shows its tests about the game, once per display refresh.
struct PageState {
  const char* screen = "";  // the menu screen ("" the main menu, "story", "hs"...)
  int item = 0;             // the menu entry selected
  bool in_game = false;
  bool paused = false;
  bool game_over = false;
  int level = 0;
  double frame = 0;
  double score = 0;
  double x = 0, y = 0;  // the creature
  double fps = 0;
  bool naming = false;    // the game waits for a name for the high-score table
  const char* name = "";  // the name typed so far
  int held = 0;           // keys and mouse buttons the game sees held now
  // The run the page can link to now (the picked table entry's, or the last
  // game's once back in the menu); "" for none. Sent only when it changes.
  const char* run = "";
};
void PublishPageState(const PageState& state);

// Copies the save folder to IndexedDB after a save (in the background; the
// page counts the copies still running).
void SyncSaves();
// The folder the page keeps in IndexedDB across reloads; empty on the desktop.
const char* BrowserSaveDir();

// The page's own controls (the touch pad, the name field) press and release
// keys by SDL's key names ("Left", "Return", "A"...): the same key events a
// keyboard sends, so the game cannot tell them apart. Unknown names are
// ignored. Called from the page; on the desktop nothing calls it.
extern "C" void tw_page_key(const char* sdl_key_name, int down);

}  // namespace tw::platform
