// Scattering the bonus items through a new shaft: each lies in an empty cell
// directly on top of something solid.
#pragma once

namespace tw::world {

// A spot search gives up after this many draws and leaves the entry inactive.
inline constexpr int kBonusPlacementAttempts = 20000;

// Fills the table in kind order; stops at the first search that finds no spot.
void PlaceBonuses();
// Places one bonus of the given kind in the first free entry; false when no
// entry was free or no spot was found.
bool PlaceBonus(int kind);

}  // namespace tw::world
