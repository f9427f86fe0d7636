// The menu: its screens, items, keyboard input and the automatic transitions
// of a menu frame (the fade into a new game, the idle replay, screen fades).
#pragma once

#include <string>
#include <string_view>

#include "core/numeric.h"

namespace tw::frontend {

// The screen shown: "" (main menu), "options", "credits", "story", "story2",
// "howtoplay", "hs", "won".
extern std::string MenuScreen;
// The selected item; its meaning depends on the screen (main menu 1..7,
// other screens 10 Back/Next, options 12..15).
extern Integer MenuItem;
// A new game has been chosen and the menu is fading out.
extern bool NewGamePending;
// 100 while no game is pending; counts down for the fade into a game.
extern Single MenuFade;
// Set to 100 when a finished game hands back to the menu; the menu fades in.
extern Single ReturnFade;
// Main-menu frames without navigation (drives the idle replay).
extern Single IdleFrames;

// Main-menu items.
inline constexpr Integer kItemNewGame = 1;
inline constexpr Integer kItemHighScores = 2;
inline constexpr Integer kItemStory = 3;
inline constexpr Integer kItemOptions = 4;
inline constexpr Integer kItemCredits = 5;
inline constexpr Integer kItemHowToPlay = 6;
inline constexpr Integer kItemExit = 7;
// Items of the other screens.
inline constexpr Integer kItemBack = 10;  // also Next on the first story page
inline constexpr Integer kItemSound = 12;
inline constexpr Integer kItemDetails = 13;
inline constexpr Integer kItemFullScreen = 14;
inline constexpr Integer kItemGameMode = 15;

// Idle main-menu frames before an idle replay starts, and where the count
// restarts afterwards (so further replays follow every 300 frames).
inline constexpr Single kIdleReplayAfter = 1200;
inline constexpr Single kIdleReplayRearm = 900;

// Fade level of each screen other than the main menu, 0..100: rises while
// the screen is shown, falls after it was left.
struct ScreenFadeLevels {
  Single options = 0;
  Single credits = 0;
  Single story = 0;
  Single story2 = 0;
  Single howtoplay = 0;
  Single hs = 0;
  Single won = 0;
};
extern ScreenFadeLevels ScreenFades;

// Once-per-press latches of the menu keys.
struct MenuLatchState {
  bool Esc = false;
  bool Up = false;
  bool Down = false;
  bool Enter = false;
  bool Screenshot = false;
};
extern MenuLatchState MenuLatches;

// One menu frame: input, transitions, drawing, present (menu_screens.cpp).
void MenuFrame();

// The menu's keyboard input for one frame, from the keys read at the end of
// the frame before: Escape, Return, the arrows, the replay keys and the
// screenshot key.
void MenuInput();

// The main-menu item that leads to `screen` ("options" 4, ...); the main menu
// itself gives Exit (7); a screen without one gives 0.
Integer ItemOfScreen(std::string_view screen);

// The fade level of `screen`; nullptr for the main menu or an unknown name.
Single* ScreenFadeFor(std::string_view screen);

// The fade out of the menu when a new game is pending. True when the game
// has just started (the menu frame then ends without drawing further).
bool NewGameFade();
// The one place a game's transient state is reset, when a game starts and
// when it ends: not paused, the intents and key latches cleared (StartNewGame
// clears the game-over flag), and the replay's state: at the start the
// recording or playback armed for this game is prepared, at the end both
// flags are cleared, a recording written and a replay's mode given back.
void ResetGameTransients(bool ending);
// Starts a new game: the transient state reset, the world's set-up, the game
// screen's looks reset.
void StartGame();
// The game screen's first frames: the menu's background lifts off over 50
// frames after a start from the menu. The opacity to lay it over the game at
// this frame, or below 0 for none.
Single LiftMenuFade();
// Counts idle main-menu frames and starts an idle replay when they run out
// and a replay file is there to play.
void IdleReplayStart();
// The idle-replay file to play: "replay" if such a file exists, otherwise
// one of "replay1.ini" ... "replay10.ini" that exist, chosen at random;
// empty when there is none.
std::string ChooseIdleReplayFile();
// Whether an idle-replay file is there (looked for again about once a second).
bool IdleReplayAvailable();
// Raises or lowers the fade level of `screen`; when a level that was falling
// runs out, the selection moves to the item that screen leaves behind.
void UpdateScreenFade(std::string_view screen);
// Marks the story read (in the options file too) the first time page 2 shows.
void MarkStoryRead();
// The credits have run out: back to the main menu on New Game.
void EndCredits();
// The last step of a menu frame: an item 10 left on the main menu becomes 1.
void FinishMenuFrame();

}  // namespace tw::frontend
