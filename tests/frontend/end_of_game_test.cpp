// The end-of-game check: the drills' descent, waiting for the name, and the
// wind-up with the table, the won screens, the count and the replay flags.
#include "frontend_fixture.h"

#include <tuple>

#include "config/settings_store.h"

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
    world::ReplayPlayback = false;
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

TEST_F(EndOfGame, NothingHappensDuringPlay) {
  core::GameOver = false;
  world::EndReady = true;
  frontend::EndOfGameCheck();
  EXPECT_EQ(std::tuple(world::DrillY, world::EndReady, world::EndFade), std::tuple(100.0f, true, 0.0f));
}

TEST_F(EndOfGame, DrillsSlideDownWhileTheNameIsTyped) {
  world::Score = 300;
  frontend::IdleFrames = 50;
  frontend::EndOfGameCheck();
  EXPECT_EQ(std::tuple(world::DrillY, world::WaterFixedY, frontend::IdleFrames), std::tuple(110.0f, 500.0f, 0.0f));
  world::DrillY = 375;
  frontend::EndOfGameCheck();
  EXPECT_EQ(world::DrillY, 385.0f);
  for (int i = 0; i < 30; ++i) frontend::EndOfGameCheck();
  EXPECT_EQ(world::DrillY, 480.0f);  // 5 per frame for the last 100, then no further
  // No wind-up until the name is confirmed.
  EXPECT_EQ(world::EndFade, 0.0f);
  EXPECT_EQ(config::PlayedGames, 4);
}

TEST_F(EndOfGame, AScoreBelowOrEqualToTheTenthLeavesTheTable) {
  const auto before = config::HighScores;
  Finish(250, "ANNA");  // equal to the tenth entry
  EXPECT_EQ(std::tuple(frontend::MenuScreen.empty(), frontend::MenuItem, world::EndFade, world::EndReady),
            std::tuple(true, 1, 100.0f, false));
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(config::HighScores[i].Score, before[i].Score);
  EXPECT_EQ(std::tuple(world::LastName.empty(), config::PlayedGames, PlayedGamesStored()), std::tuple(true, 5, "5"));
  // The wind-up happens once.
  frontend::EndOfGameCheck();
  EXPECT_EQ(config::PlayedGames, 5);
}

TEST_F(EndOfGame, AQualifyingScoreEntersAtItsPlaceAndIsHighlighted) {
  Finish(1100.4f, "ANNA");
  EXPECT_EQ(frontend::MenuScreen, "hs");
  EXPECT_EQ(frontend::MenuItem, 10);
  EXPECT_EQ(config::HighScores[6].Name, "ANNA");  // 1250 above, 1000 below
  EXPECT_EQ(config::HighScores[6].Score, 1100);
  EXPECT_EQ(config::HighScores[9].Score, 500);
  EXPECT_EQ(world::LastName, "ANNA");
  EXPECT_EQ(frontend::NewEntryKey, "ANNA1100");
  EXPECT_TRUE(frontend::IsNewEntry(config::HighScores[6]));
  EXPECT_FALSE(frontend::IsNewEntry(config::HighScores[5]));
  EXPECT_TRUE(Contains("textures/dot_black2.bmp", "6n=ANNA"));
  EXPECT_TRUE(Contains("textures/dot_black2.bmp", "6s=1100"));

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

TEST_F(EndOfGame, APlayedBackGameNeverCountsAndArmsTheNextIdleReplay) {
  world::ReplayPlayback = true;
  world::Score = 5000;
  world::LastName = "EVE";
  frontend::EndOfGameCheck();  // wound up at once, no name asked
  EXPECT_EQ(world::Score, 0.0f);
  EXPECT_EQ(frontend::IdleFrames, 900.0f);
  EXPECT_TRUE(frontend::MenuScreen.empty());
  EXPECT_EQ(frontend::MenuItem, 1);
  EXPECT_EQ(config::HighScores[0].Score, 2500);
  EXPECT_EQ(std::tuple(world::LastName, config::PlayedGames, PlayedGamesStored(), world::ReplayPlayback),
            std::tuple("EVE", 4, "none", false));
}

TEST_F(EndOfGame, WinningShowsTheWonScreenAndOnlyStoryModeUnlocksArcade) {
  std::ofstream(dir_ / "wd.jpg") << "not a picture";
  world::GameWon = true;
  Finish(3000, "ANNA");
  EXPECT_EQ(frontend::MenuScreen, "won");  // replaces the table screen ...
  EXPECT_EQ(frontend::MenuItem, 10);
  EXPECT_EQ(config::HighScores[0].Name, "ANNA");  // ... after the entry was saved
  EXPECT_FALSE(config::GameOptions.ArcadeLocked);
  EXPECT_TRUE(Contains("textures/options.bmp", "ArcadeLocked=False"));
  EXPECT_FALSE(world::GameWon);

  // A won arcade game leaves the options alone.
  std::filesystem::remove(dir_ / "textures" / "options.bmp");
  config::GameOptions.ArcadeLocked = true;
  config::GameOptions.GameMode_Story = false;
  config::LoadHighScores();
  core::GameOver = true;
  world::GameWon = true;
  Finish(10, "ANNA");
  EXPECT_EQ(frontend::MenuScreen, "won");
  EXPECT_TRUE(config::GameOptions.ArcadeLocked);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "textures" / "options.bmp"));
  // A won game played back in story mode shows no picture but is not left won.
  core::GameOver = true;
  config::GameOptions.GameMode_Story = true;
  world::ReplayPlayback = true;
  world::GameWon = true;
  frontend::EndOfGameCheck();
  EXPECT_TRUE(frontend::MenuScreen.empty());
  EXPECT_FALSE(world::GameWon);
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
