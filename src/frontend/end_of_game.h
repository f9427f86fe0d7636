// The end of a game: name entry, the high-score table, the won screens.
#pragma once

namespace tw::frontend {

void EndOfGameCheck();

}  // namespace tw::frontend
