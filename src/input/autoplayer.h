// The autoplayer: steers the creature the way a good human player would, for
// the attract replays and for measuring how the tuning plays. It looks only at
// what is on screen (the visible rows, the drills, the water line, the bonuses
// and how fast the creature moves) and acts only through the same intents the
// keyboard sets, at human rates: no key is pressed more than about seven
// times a second.
#pragma once

namespace tw::input {

// Fewest frames between two presses of the same key (50 frames a second).
inline constexpr int kAutoplayPressGap = 7;

// Forgets the previous game's plan; call when a game starts.
void ResetAutoplayer();

// Once per game frame, after the keyboard has been read and before the world
// steps: walks, jumps, brakes and bombs by setting the intents.
void Autoplay();

}  // namespace tw::input
