// The end-of-game check: the drills' descent, waiting for the name, and the
// wind-up with the table, the won screens, the count and the replay flags.
#include "frontend_fixture.h"

#include <tuple>

#include "config/settings_store.h"
#include "input/controls.h"
#include "world/bonuses.h"
#include "world/frame.h"
#include "world/new_game.h"

namespace tw::testing {
namespace {

class EndOfGame : public FrontendTest {
 protected:
  void SetUp() override {
    FrontendTest::SetUp();
    core::GameOver = true;
    world::DrillY = 100;
    world::EndFade = 0;
    world::EndReady = false;
    world::GameWon = false;
    core::ReplayPlayback = false;
    replay::ReplayRecord = false;
    config::PlayedGames = 4;
  }
  // The game ended with `score`; the player confirms `name`.
  void Finish(Single score, const std::string& name) {
    world::Score = score;
    world::TypedName = name;
    world::EndReady = true;
    frontend::EndOfGameCheck();
  }
  std::string PlayedGamesStored() const {
    return config::GetSetting(config::AppName(), "Stats", "Number_Of_Played_Games", "none");
  }
};

TEST_F(EndOfGame, AQualifyingScoreEntersAtItsPlaceAndIsHighlighted) {
  Finish(1100.4f, "ANNA");
  // 1250 above, 1000 below; the new entry is highlighted.
  EXPECT_EQ(std::tuple(config::HighScores[6].Name, config::HighScores[6].Score, world::LastName, frontend::NewEntryKey),
            std::tuple("ANNA", 1100, "ANNA", "ANNA1100"));
  EXPECT_TRUE(frontend::IsNewEntry(config::HighScores[6]) && !frontend::IsNewEntry(config::HighScores[5]));

  // An empty name is stored as BOLO; a score above 32767 as it is.
  core::GameOver = true;
  Finish(40000.0f, "");
  EXPECT_EQ(config::HighScores[0].Name, "BOLO");
  EXPECT_EQ(std::tuple(config::HighScores[0].Score, world::LastName, Contains("textures/dot_black2.bmp", "0s=40000")),
            std::tuple(40000, "BOLO", true));
  EXPECT_FALSE(frontend::IsNewEntry(config::HighScores[7]));  // the earlier entry is no longer new
}

TEST_F(EndOfGame, TheTableIsDecidedOnTheStoredScoreAndBlankNamesAreBolo) {
  // A fraction above the tenth entry rounds to it: no entry, and nothing
  // left pending for the next table written (here the arcade one).
  world::LastName = "EVE";
  Finish(250.21f, "ANNA");
  EXPECT_EQ(std::tuple(frontend::MenuScreen.empty(), config::HighScores[9].Name, world::LastName),
            std::tuple(true, "BOLO", "EVE"));
  config::GameOptions.GameMode_Story = false;
  config::LoadHighScores();
  EXPECT_FALSE(Contains("textures/dot_white2.bmp", "ANNA"));
  config::GameOptions.GameMode_Story = true;
  config::LoadHighScores();

  // A name of spaces is stored as BOLO with the real score, and stays so.
  core::GameOver = true;
  Finish(1100, "   ");
  EXPECT_EQ(std::tuple(config::HighScores[6].Name, config::HighScores[6].Score, frontend::NewEntryKey),
            std::tuple("BOLO", 1100, "BOLO1100"));
  config::LoadHighScores();
  EXPECT_EQ(config::HighScores[6].Name, "BOLO");
  EXPECT_EQ(config::HighScores[6].Score, 1100);
}

// The debug window alone changes nothing; a test key acting on the world
// (here B, a hundred bombs) keeps the game out of the table, until the next
// game starts (the row after it would fail otherwise). A replay played back,
// or a game already over, leaves the flag.
TEST_F(EndOfGame, AGameChangedByTheTestKeysDoesNotEnterTheTable) {
  struct Case {
    const char* what;
    bool key, playback, over, flagged;
  };
  for (const Case& t : {Case{"window only", false, false, false, false}, Case{"B pressed", true, false, false, true},
                        Case{"B in a replay", true, true, false, false}, Case{"B once over", true, false, true, false}}) {
    SCOPED_TRACE(t.what);
    world::StartNewGame();
    core::ReplayPlayback = t.playback;
    core::GameOver = t.over;
    core::DebugWindowVisible = true;
    core::KeyState[core::key::B] = t.key ? core::kKeyDown : 0;
    world::ApplyCommands(input::ReadControls());
    core::KeyState[core::key::B] = 0;
    EXPECT_EQ(std::tuple(core::TestKeysUsed, world::Bombs == 100), std::tuple(t.flagged, t.key));
    if (t.playback || t.over) continue;
    core::GameOver = true;
    const std::string name = t.key ? "CHEAT" : "FAIR";
    Finish(3000 + (t.key ? 1 : 0), name);
    EXPECT_EQ(config::HighScores[0].Name == name, !t.key);
    EXPECT_EQ(Contains("textures/dot_black2.bmp", name), !t.key);
  }
  core::ReplayPlayback = false;
}

TEST_F(EndOfGame, APlayedBackGameNeverCountsAndArmsTheNextIdleReplay) {
  core::ReplayPlayback = true;
  world::Score = 5000;
  world::LastName = "EVE";
  frontend::EndOfGameCheck();  // wound up at once, no name asked
  EXPECT_EQ(std::tuple(world::Score, frontend::IdleFrames, frontend::MenuScreen, frontend::MenuItem, config::HighScores[0].Score),
            std::tuple(0.0f, 900.0f, "", 1, 2500));
  EXPECT_EQ(std::tuple(world::LastName, config::PlayedGames, PlayedGamesStored(), core::ReplayPlayback),
            std::tuple("EVE", 4, "none", false));
}

// (A won story game unlocking arcade mode is followed end to end in the menu flow.)
TEST_F(EndOfGame, OnlyAWonStoryGameUnlocksArcade) {
  std::ofstream(dir_ / "wd.jpg") << "not a picture";
  std::filesystem::remove(dir_ / "textures" / "options.bmp");
  config::GameOptions.ArcadeLocked = true;
  config::GameOptions.GameMode_Story = false;
  config::LoadHighScores();
  core::GameOver = true;
  world::GameWon = true;
  Finish(10, "ANNA");
  EXPECT_EQ(std::tuple(frontend::MenuScreen, config::GameOptions.ArcadeLocked, std::filesystem::exists(dir_ / "textures" / "options.bmp")),
            std::tuple("won", true, false));
  // A won game played back in story mode shows no picture but is not left won.
  core::GameOver = true;
  config::GameOptions.GameMode_Story = true;
  core::ReplayPlayback = true;
  world::GameWon = true;
  frontend::EndOfGameCheck();
  EXPECT_EQ(std::tuple(frontend::MenuScreen, world::GameWon), std::tuple("", false));
}

TEST_F(EndOfGame, ARecordedGameWritesItsClosingValuesOnce) {
  replay::ReplayRecord = true;
  replay::ReplayFrame = 321;
  core::ScrollY = -1000.4f;
  Finish(10, "");
  EXPECT_FALSE(replay::ReplayRecord);
  const std::string text = ReadFile("replay.ini");
  EXPECT_NE(text.find("lastframe=321"), std::string::npos) << text;
  EXPECT_NE(text.find("lastscreeny=46"), std::string::npos) << text;  // 1000 div 32 + 15
  core::GameOver = true;
  replay::ReplayFrame = 999;
  Finish(10, "");
  EXPECT_EQ(ReadFile("replay.ini"), text);
}

}  // namespace
}  // namespace tw::testing
