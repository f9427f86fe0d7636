#include "frontend/menu.h"

#include <vector>

#include "audio/sound.h"
#include "config/ini_store.h"
#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "core/random.h"
#include "frontend/menu_screens.h"
#include "input/controls.h"
#include "input/keyboard.h"
#include "platform/files.h"
#include "render/menu_background.h"
#include "render/screenshot.h"
#include "replay/replay.h"
#include "world/new_game.h"
#include "world/looks.h"
#include "world/player.h"

namespace tw::frontend {

std::string MenuScreen;
Integer MenuItem = 0;
bool NewGamePending = false;
Single MenuFade = 0;
Single ReturnFade = 0;
Single IdleFrames = 0;
ScreenFadeLevels ScreenFades{};
MenuLatchState MenuLatches{};

namespace {

// Once per press: the key reads exactly 128 and its latch was clear. The
// latch clears only when the key reads exactly 0.
bool Fires(int code, bool& latch) {
  const std::uint8_t state = core::KeyState[static_cast<std::size_t>(code)];
  if (state == core::kKeyDown && !latch) {
    latch = true;
    return true;
  }
  if (state == 0) latch = false;
  return false;
}

bool KeyHeld(int code) { return core::IsDown(code); }

void MoveSound() { audio::PlaySound("menu1", false, 100, 0, 0); }
void ConfirmSound() { audio::PlaySound("menu2", false, 100, 0, 0); }

// The item a screen leaves selected when its fade has run out.
Integer ItemAfterFade(std::string_view screen) {
  if (screen == "options") return kItemOptions;
  if (screen == "credits") return kItemCredits;
  if (screen == "howtoplay") return kItemHowToPlay;
  if (screen == "story") return kItemBack;
  if (screen == "story2") return kItemStory;
  if (screen == "hs") return kItemHighScores;
  return kItemNewGame;  // "won"
}

bool ReplayFileExists(const std::string& name) {
  return platform::FileExists(platform::AppPath(name)) || platform::FileExists(name);
}

// Return on an item. False when the input ends for this frame (an option
// was toggled).
bool Confirm() {
  config::Options& o = config::GameOptions;
  switch (MenuItem) {
    case kItemFullScreen:
      o.FullScreenChoice = !o.FullScreenChoice;
      config::SaveOptions();
      return false;
    case kItemDetails:
      o.Details_High = !o.Details_High;
      config::SaveOptions();
      return false;
    case kItemSound:
      o.Sound_On = !o.Sound_On;
      if (o.Sound_On) {
        audio::MenuTrack().Play(0);
      } else {
        audio::MenuTrack().Stop(0);
        audio::GameTrack().Stop(0);
      }
      config::SaveOptions();
      return false;
    case kItemGameMode:
      if (!o.ArcadeLocked) {
        config::ChooseGameMode(!o.GameModeChoice);
        config::LoadHighScores();
      }
      config::SaveOptions();
      return false;
    case kItemNewGame:
      if (o.Sound_On) audio::GameTrack().Play(0);
      NewGamePending = true;
      MenuItem = kItemBack;
      replay::ReplayFrame = 0;
      return true;
    case kItemExit:
      core::Running = false;
      return true;
    case kItemOptions:
      MenuScreen = "options";
      MenuItem = kItemBack;
      return true;
    case kItemCredits:
      MenuScreen = "credits";
      MenuItem = kItemBack;
      ResetCreditRows();
      return true;
    case kItemStory:
      MenuScreen = "story";
      MenuItem = kItemBack;
      return true;
    case kItemHowToPlay:
      MenuScreen = "howtoplay";
      MenuItem = kItemBack;
      return true;
    case kItemHighScores:
      MenuScreen = "hs";
      MenuItem = kItemBack;
      return true;
    case kItemBack:
      if (MenuScreen == "hs") MenuItem = kItemHighScores;
      if (MenuScreen == "story") {
        MenuScreen = "story2";  // page 1's Next leads to page 2
      } else {
        if (const Integer item = ItemOfScreen(MenuScreen)) MenuItem = item;
        MenuScreen.clear();
      }
      return true;
    default:
      return true;
  }
}

}  // namespace

Integer ItemOfScreen(std::string_view screen) {
  if (screen.empty()) return kItemExit;
  if (screen == "hs") return kItemHighScores;
  if (screen == "story" || screen == "story2") return kItemStory;
  if (screen == "options") return kItemOptions;
  if (screen == "credits") return kItemCredits;
  if (screen == "howtoplay") return kItemHowToPlay;
  return 0;
}

Single* ScreenFadeFor(std::string_view screen) {
  ScreenFadeLevels& f = ScreenFades;
  if (screen == "options") return &f.options;
  if (screen == "credits") return &f.credits;
  if (screen == "story") return &f.story;
  if (screen == "story2") return &f.story2;
  if (screen == "howtoplay") return &f.howtoplay;
  if (screen == "hs") return &f.hs;
  if (screen == "won") return &f.won;
  return nullptr;
}

void MenuInput() {
  // The keys were read at the end of the frame before.
  namespace key = core::key;

  // 1.-2. Arm playback or recording of the next game (acting while held).
  if (KeyHeld(key::R)) {
    core::ReplayPlayback = true;
    replay::ReplayRecord = false;
    replay::ReplayFile = replay::kRecordFile;
  }
  if (KeyHeld(key::T)) {
    replay::ReplayRecord = true;
    core::ReplayPlayback = false;
  }

  bool acted = false;
  bool input_ends = false;
  if (Fires(key::Escape, MenuLatches.Esc)) {
    // 3. Back to the main menu; on the main menu itself Escape selects Exit.
    if (const Integer item = ItemOfScreen(MenuScreen)) MenuItem = item;
    MenuScreen.clear();
    acted = true;
  } else {
    // 4. The options screen's rows; Up goes towards Game mode (15).
    if (MenuScreen == "options") {
      if (Fires(key::Up, MenuLatches.Up)) {
        MenuItem = static_cast<Integer>(MenuItem + 1);
        if (MenuItem > kItemGameMode) MenuItem = kItemGameMode;
        if (MenuItem == 11) MenuItem = kItemSound;
        MoveSound();
      }
      if (Fires(key::Down, MenuLatches.Down)) {
        MenuItem = static_cast<Integer>(MenuItem - 1);
        if (MenuItem < kItemBack) MenuItem = kItemBack;
        if (MenuItem == 11) MenuItem = kItemBack;
        MoveSound();
      }
    }
    // 5. Return confirms the selected item on any screen.
    if (Fires(key::Return, MenuLatches.Enter)) {
      ConfirmSound();
      IdleFrames = 0;
      acted = true;
      input_ends = !Confirm();
    }
  }
  if (input_ends) return;

  // 7. After Escape or Return on the main menu the buttons fade in again.
  if (acted && MenuScreen.empty() && MenuItem != kItemExit) ResetMenuButtons();

  // 8. Main-menu navigation, without wrap-around.
  if (MenuScreen.empty()) {
    if (Fires(key::Up, MenuLatches.Up)) {
      MenuItem = static_cast<Integer>(MenuItem - 1);
      if (MenuItem == 0) MenuItem = kItemNewGame;
      MoveSound();
      IdleFrames = 0;
    }
    if (Fires(key::Down, MenuLatches.Down)) {
      MenuItem = static_cast<Integer>(MenuItem + 1);
      if (MenuItem == 8) MenuItem = kItemExit;
      MoveSound();
      IdleFrames = 0;
    }
  }

  // 9. Screenshot, on any screen.
  if (Fires(key::S, MenuLatches.Screenshot)) render::TakeScreenshot();
}

Single LiftMenuFade() {
  if (MenuFade > 0 && MenuItem == kItemBack) {
    MenuFade -= 2;
    if (MenuFade < 0) MenuFade = 0;
    return MenuFade;
  }
  return -1.0f;
}

void ResetGameTransients(bool ending) {
  core::Paused = false;
  input::ResetControls();
  if (ending) {
    replay::FinishGame();  // both flags cleared, the recording written, a replay's mode given back
  } else {
    replay::PrepareNewGame();  // the armed flags stay: they are this game's
  }
}

void StartGame() {
  ResetGameTransients(false);
  world::StartNewGame();
  world::ResetLooks();
}

bool NewGameFade() {
  if (!NewGamePending) {
    MenuFade = 100;
    return false;
  }
  MenuFade -= 5;
  if (MenuFade >= 1) return false;
  NewGamePending = false;
  core::InGame = true;
  MenuFade = 100;
  // The game screen fades in from the menu background only while item 10 is
  // selected; the menu's last step would otherwise have turned it into 1.
  MenuItem = kItemBack;
  StartGame();
  return true;
}

namespace {

// The idle-replay files there are: "replay", else those of replay1.ini ...
// replay10.ini that exist.
std::vector<std::string> IdleReplayFiles() {
  if (ReplayFileExists("replay")) return {"replay"};
  std::vector<std::string> present;
  for (int r = 1; r <= 10; ++r) {
    std::string name = "replay" + std::to_string(r) + ".ini";
    if (ReplayFileExists(name)) present.push_back(std::move(name));
  }
  return present;
}

// Menu frames until the idle-replay files are looked for again.
int IdleFilesCheckIn = 0;
bool IdleFilesPresent = false;

}  // namespace

bool IdleReplayAvailable() {
  // Looked for about once a second: a file search in every frame would cost
  // more than the menu's drawing.
  if (--IdleFilesCheckIn <= 0) {
    IdleFilesCheckIn = 50;
    IdleFilesPresent = !IdleReplayFiles().empty();
  }
  return IdleFilesPresent;
}

std::string ChooseIdleReplayFile() {
  std::vector<std::string> present = IdleReplayFiles();
  if (present.empty()) return {};
  // Drawing 1..10 until an existing file comes up picks each present file
  // with equal chance; drawing among the present ones does the same at once.
  const auto pick = core::RandomWhole(1, static_cast<std::int32_t>(present.size()));
  return present[static_cast<std::size_t>(pick - 1)];
}

void IdleReplayStart() {
  if (!replay::ReplayRecord) IdleFrames += 1;
  if (IdleFrames <= kIdleReplayAfter) return;
  IdleFrames = kIdleReplayRearm;
  std::string file = ChooseIdleReplayFile();
  // Without any replay file there is nothing to show; look again after
  // another 300 idle frames.
  if (file.empty()) return;
  core::ReplayPlayback = true;
  replay::ReplayRecord = false;
  replay::ReplayFile = std::move(file);
  if (config::GameOptions.Sound_On) audio::GameTrack().Play(0);
  NewGamePending = true;
  MenuItem = kItemBack;
  replay::ReplayFrame = 0;
}

void UpdateScreenFade(std::string_view screen) {
  Single* level = ScreenFadeFor(screen);
  if (level == nullptr) return;
  const Single top = screen == "howtoplay" ? 80.0f : 100.0f;
  if (MenuScreen == screen) {
    if (*level < top) *level = (*level + 10 > top) ? top : *level + 10;
  } else if (*level > 0) {
    *level -= 10;
    if (*level < 1) {
      *level = 0;
      MenuItem = ItemAfterFade(screen);
    }
  }
}

void MarkStoryRead() {
  if (config::GameOptions.StoryReaden) return;
  config::SaveStoryRead();
}

void EndCredits() {
  MenuScreen.clear();
  MenuItem = kItemNewGame;
  for (int i = 1; i <= 6; ++i) MenuButtonAnim[static_cast<std::size_t>(i)].Alpha = 0;
}

void FinishMenuFrame() {
  if (MenuScreen.empty() && MenuItem == kItemBack) MenuItem = kItemNewGame;
}

}  // namespace tw::frontend
