#include "config/options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <limits>
#include <tuple>

#include "config/ini_store.h"
#include "platform/files.h"
#include "test_support.h"

namespace tw::config {
namespace {

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetAppDir(dir.path);
    GameOptions = Options{};
    HighScores = {};
    ClearPendingEntry();
  }
  test::TempDir dir;
  std::string options_file() const { return dir.File("textures/options.bmp"); }
  std::string story_file() const { return dir.File("textures/dot_black2.bmp"); }
  std::string arcade_file() const { return dir.File("textures/dot_white2.bmp"); }
};

TEST_F(OptionsTest, FirstStartWritesTheWholeFileInOneWrite) {
  // A start killed between separate writes left a file with some of the
  // keys, which no later start completed.
  const unsigned writes = platform::AtomicWriteCount();
  LoadOptions();
  EXPECT_EQ(platform::AtomicWriteCount(), writes + 1);
  EXPECT_EQ(ReadIni("main", "StoryReaden", options_file()), "False");
}

TEST_F(OptionsTest, TheModeInPlayIsNeverSavedOnlyThePlayersChoice) {
  LoadOptions();  // story, arcade locked
  // A replay in arcade mode plays, and the options are saved meanwhile (F11).
  GameOptions.GameMode_Story = false;
  GameOptions.FullScreenChoice = true;
  SaveOptions();
  EXPECT_EQ(ReadIni("main", "GameMode_Story", options_file()), "True");
  EXPECT_EQ(ReadIni("main", "FULL_SCREEN", options_file()), "True");
  ChooseGameMode(false);  // the player's own choice is saved
  SaveOptions();
  EXPECT_EQ(ReadIni("main", "GameMode_Story", options_file()), "False");
}

TEST_F(OptionsTest, ReadsBooleansInAnyFormAndKeepsUnreadableOnes) {
  test::WriteText(options_file(),
                  "[main]\nDetails_High=false\nGameMode_Story=0\nSound_On=TRUE\nFULL_SCREEN=-1\n"
                  "ArcadeLocked=maybe\nStoryReaden=True\n");
  LoadOptions();
  const Options& o = GameOptions;  // ArcadeLocked unreadable: the default stands
  EXPECT_EQ(std::tuple(o.Details_High, o.GameMode_Story, o.Sound_On, o.FULL_SCREEN, o.FullScreenChoice, o.ArcadeLocked,
                       o.StoryReaden),
            std::tuple(false, false, true, true, true, true, true));
  // An existing file is not rewritten on load.
  EXPECT_EQ(ReadIni("main", "ArcadeLocked", options_file()), "maybe");
}

TEST_F(OptionsTest, SaveWritesTheChoiceNotTheRunningModeAndLeavesStoryReaden) {
  test::WriteText(options_file(), "[main]\nStoryReaden=True\nFULL_SCREEN=False\n");
  LoadOptions();
  GameOptions.FullScreenChoice = true;
  GameOptions.Sound_On = false;
  GameOptions.StoryReaden = false;
  const unsigned writes = platform::AtomicWriteCount();
  SaveOptions();
  EXPECT_EQ(platform::AtomicWriteCount(), writes + 1);
  EXPECT_FALSE(GameOptions.FULL_SCREEN);
  // Keys in the documented order after the untouched first line; StoryReaden as it was.
  EXPECT_EQ(test::ReadText(options_file()),
            "[main]\nStoryReaden=True\nFULL_SCREEN=True\nDetails_High=True\r\nGameMode_Story=True\r\n"
            "Sound_On=False\r\nArcadeLocked=True\r\n");
}

TEST_F(OptionsTest, DamagedEntriesAreRepaired) {
  test::WriteText(story_file(),
                  "[hs]\n0s=9000\n0n=ANNA\n1s=abc\n1n=BEN\n2s=12.5\n2n=CARL\n3n=DORA\n4s=7000\n"
                  "5s=99999\n5n=BIG\n");
  LoadHighScores();
  // A malformed score keeps what it had; halves go to the even neighbour; a
  // name without score has 0; a score without name gives the built-in entry;
  // scores above 32767 are kept as they are.
  const std::pair<std::string, int> want[] = {{"ANNA", 9000}, {"BEN", 0}, {"CARL", 12}, {"DORA", 0}, {"BOLO", 1500}, {"BIG", 99999}};
  for (std::size_t i = 0; i < std::size(want); ++i) EXPECT_EQ(std::pair(HighScores[i].Name, HighScores[i].Score), want[i]) << i;
  EXPECT_EQ(ReadIni("hs", "1s", story_file()), "0");
  EXPECT_EQ(ReadIni("hs", "5s", story_file()), "99999");
}

TEST_F(OptionsTest, PendingEntryIsInsertedBelowEqualScores) {
  LoadHighScores();
  HighScores[kPendingEntry] = {"NEW", 2250, {}};
  SaveHighScores();
  // Below the equal BOLO; 250 fell off the end.
  EXPECT_EQ(std::tuple(HighScores[1].Name, HighScores[1].Score, HighScores[2].Name, HighScores[3].Score, HighScores[9].Score),
            std::tuple("BOLO", 2250, "NEW", 2000, 500));
  EXPECT_EQ(std::tuple(HighScores[kPendingEntry].Name, HighScores[kPendingEntry].Score),
            std::tuple(std::string("Bolo"), std::numeric_limits<Long>::min()));
  EXPECT_EQ(ReadIni("hs", "2n", story_file()), "NEW");
}

TEST_F(OptionsTest, PendingEntryThatDoesNotQualifyIsDropped) {
  LoadHighScores();
  const std::string before = test::ReadText(story_file());
  HighScores[kPendingEntry] = {"LOW", 250, {}};  // equal to the tenth entry
  SaveHighScores();
  EXPECT_EQ(HighScores[9].Name, "BOLO");
  EXPECT_EQ(test::ReadText(story_file()), before);
  // Not left standing for the other mode's table.
  GameOptions.GameMode_Story = false;
  LoadHighScores();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(HighScores[static_cast<std::size_t>(i)].Name, "BOLO") << i;
  GameOptions.GameMode_Story = true;
  LoadHighScores();

  HighScores[kPendingEntry] = {"Bolo", 0, {}};
  SaveHighScores();
  EXPECT_EQ(test::ReadText(story_file()), before);
}

TEST_F(OptionsTest, TopScoreAndLargeScoresSurviveARoundTrip) {
  LoadHighScores();
  HighScores[kPendingEntry] = {"ACE", 123456, {}};
  SaveHighScores();
  EXPECT_EQ(HighScores[0].Name, "ACE");
  HighScores = {};
  LoadHighScores();
  EXPECT_EQ(std::tuple(HighScores[0].Name, HighScores[0].Score, HighScores[1].Score), std::tuple("ACE", 123456, 2500));
}

}  // namespace
}  // namespace tw::config
