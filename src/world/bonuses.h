// Bonus items: the table placed at generation, the player's bombs and the
// two bonus timers.
#pragma once

#include <string>
#include <vector>

#include "core/numeric.h"

namespace tw::world {

enum BonusKind : int { kBonusBomb = 1, kBonusPie = 2, kBonusBoot = 3, kBonusBombGlass = 4, kBonusEars = 5 };

struct Bonus {
  bool Active = false;
  std::string Type;  // "bomb", "pie", "boot", "bombglass", "ears"
  Single X = 0;      // world pixels of the top-left
  Single Y = 0;
  Single Points = 0;
  Single Weight = 0;
  Single AddForce = 0;
  Integer SelectionAlpha = 0;
};

// Entries 0..N (N = the sum of the tuning file's bonus counts); entry 0 is never used.
extern std::vector<Bonus> Bonuses;

extern Single Bombs;     // bombs held by the player
extern Single BootTime;  // frames of boots left; on while above 0
extern Single EarsTime;  // frames of big ears left; on while above 0
extern bool GlassBombPending;
extern Single BonusSpin;  // degrees

inline bool BootsOn() { return BootTime > 0.0f; }
inline bool EarsOn() { return EarsTime > 0.0f; }


// Once per rendered frame, also while paused: turns the spin, shrinks the
// halos of spent bonuses, lets the drills destroy bonuses (bombs go off) and
// lets the creature pick them up.
void UpdateBonuses();
// Counts the boots and ears down by one frame, except while paused or after
// the game has ended.
void TickBonusTimers();
// The glass bomb's effect on one visible cell: while a conversion is
// pending, an ordinary tile (1..50, not glass or stone) is smashed without
// points and the cell becomes glass.
void GlassBombCell(int column, int row);

}  // namespace tw::world
