// Per-frame controls: keys turned into the creature's intents, and the
// in-game keys (give up, pause, screenshot, debug window).
#pragma once

namespace tw::input {

void ReadControls();

}  // namespace tw::input
