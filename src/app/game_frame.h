// One frame of a game, written out once: the main loop, the fuzzers, the
// tests and the benches all step a game through it.
#pragma once

namespace tw::app {

// The autoplayer plays this game (--autoplay).
extern bool Autoplaying;
// Called in every game frame once the intents are final (after the controls
// and the autoplayer), before the world acts on them: for tests and tools
// that watch the hands. None when unset.
extern void (*OnIntents)();

// The game frame's steps in the game's order; the keys were read at the end
// of the frame before (one read per frame, for the menu and name entry too).
void GameFrame();

// The end of every frame, menu or game: the save notice's countdown, then
// the keyboard read that the next frame acts on.
void EndOfFrame();

}  // namespace tw::app
