// The new-game set-up: the world reset, the current mode's tuning file read
// and the shaft generated.
#pragma once

namespace tw::world {

// Starts a new game. Does nothing when readFile is false (the level table
// then also stays as it was).
void StartNewGame(bool& readFile);

}  // namespace tw::world
