#include "config/options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

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

TEST_F(OptionsTest, FirstStartWritesTheDefaults) {
  // Written once, whole: a start killed between separate writes would leave
  // a file with some keys that no later start completes.
  const unsigned writes = platform::AtomicWriteCount();
  LoadOptions();
  EXPECT_EQ(platform::AtomicWriteCount(), writes + 1);
  EXPECT_TRUE(GameOptions.Details_High);
  EXPECT_TRUE(GameOptions.GameMode_Story);
  EXPECT_TRUE(GameOptions.Sound_On);
  EXPECT_FALSE(GameOptions.FULL_SCREEN);
  EXPECT_FALSE(GameOptions.FullScreenChoice);
  EXPECT_TRUE(GameOptions.ArcadeLocked);
  EXPECT_FALSE(GameOptions.StoryReaden);
  ASSERT_TRUE(std::filesystem::exists(options_file()));
  EXPECT_EQ(ReadIni("main", "Details_High", options_file()), "True");
  EXPECT_EQ(ReadIni("main", "FULL_SCREEN", options_file()), "False");
  EXPECT_EQ(ReadIni("main", "ArcadeLocked", options_file()), "True");
  EXPECT_EQ(ReadIni("main", "StoryReaden", options_file()), "False");
}

TEST_F(OptionsTest, ReadsBooleansInAnyFormAndKeepsUnreadableOnes) {
  test::WriteText(options_file(),
                  "[main]\nDetails_High=false\nGameMode_Story=0\nSound_On=TRUE\nFULL_SCREEN=-1\n"
                  "ArcadeLocked=maybe\nStoryReaden=True\n");
  LoadOptions();
  EXPECT_FALSE(GameOptions.Details_High);
  EXPECT_FALSE(GameOptions.GameMode_Story);
  EXPECT_TRUE(GameOptions.Sound_On);
  EXPECT_TRUE(GameOptions.FULL_SCREEN);
  EXPECT_TRUE(GameOptions.FullScreenChoice);
  EXPECT_TRUE(GameOptions.ArcadeLocked);  // unreadable: the default stands
  EXPECT_TRUE(GameOptions.StoryReaden);
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
  EXPECT_EQ(ReadIni("main", "FULL_SCREEN", options_file()), "True");
  EXPECT_EQ(ReadIni("main", "Sound_On", options_file()), "False");
  EXPECT_EQ(ReadIni("main", "StoryReaden", options_file()), "True");
  // Keys in the documented order after the untouched first line.
  EXPECT_EQ(test::ReadText(options_file()),
            "[main]\nStoryReaden=True\nFULL_SCREEN=True\nDetails_High=True\r\nGameMode_Story=True\r\n"
            "Sound_On=False\r\nArcadeLocked=True\r\n");
}

TEST_F(OptionsTest, MissingScoreFilesGiveTheBuiltInTablesAndAreCreated) {
  LoadHighScores();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(HighScores[static_cast<std::size_t>(i)].Name, "BOLO");
    EXPECT_EQ(HighScores[static_cast<std::size_t>(i)].Score, (10 - i) * 250);
  }
  const std::string text = test::ReadText(story_file());
  EXPECT_EQ(text.rfind("[hs]\r\n0s=2500\r\n0n=BOLO\r\n1s=2250\r\n1n=BOLO\r\n", 0), 0u);
  EXPECT_EQ(ReadIni("hs", "9s", story_file()), "250");

  GameOptions.GameMode_Story = false;
  LoadHighScores();
  EXPECT_EQ(HighScores[0].Score, 2000);
  EXPECT_EQ(HighScores[9].Score, 200);
  EXPECT_EQ(ReadIni("hs", "0s", arcade_file()), "2000");
}

TEST_F(OptionsTest, DamagedEntriesAreRepaired) {
  test::WriteText(story_file(),
                  "[hs]\n0s=9000\n0n=ANNA\n1s=abc\n1n=BEN\n2s=12.5\n2n=CARL\n3n=DORA\n4s=7000\n"
                  "5s=99999\n5n=BIG\n");
  LoadHighScores();
  EXPECT_EQ(HighScores[0].Score, 9000);
  EXPECT_EQ(HighScores[1].Score, 0);  // malformed: keeps what it had
  EXPECT_EQ(HighScores[1].Name, "BEN");
  EXPECT_EQ(HighScores[2].Score, 12);  // halves go to the even neighbour
  EXPECT_EQ(HighScores[3].Name, "DORA");
  EXPECT_EQ(HighScores[3].Score, 0);  // name without score
  EXPECT_EQ(HighScores[4].Name, "BOLO");  // score without name: built-in entry
  EXPECT_EQ(HighScores[4].Score, 1500);
  EXPECT_EQ(HighScores[5].Score, 99999);  // above 32767 kept as it is
  EXPECT_EQ(ReadIni("hs", "1s", story_file()), "0");
  EXPECT_EQ(ReadIni("hs", "5s", story_file()), "99999");
}

TEST_F(OptionsTest, PendingEntryIsInsertedBelowEqualScores) {
  LoadHighScores();
  HighScores[kPendingEntry] = {"NEW", 2250};
  SaveHighScores();
  EXPECT_EQ(HighScores[1].Name, "BOLO");
  EXPECT_EQ(HighScores[1].Score, 2250);
  EXPECT_EQ(HighScores[2].Name, "NEW");
  EXPECT_EQ(HighScores[3].Score, 2000);
  EXPECT_EQ(HighScores[9].Score, 500);  // 250 fell off the end
  EXPECT_EQ(HighScores[kPendingEntry].Name, "Bolo");
  EXPECT_EQ(HighScores[kPendingEntry].Score, std::numeric_limits<Long>::min());
  EXPECT_EQ(ReadIni("hs", "2n", story_file()), "NEW");
}

TEST_F(OptionsTest, PendingEntryThatDoesNotQualifyIsDropped) {
  LoadHighScores();
  const std::string before = test::ReadText(story_file());
  HighScores[kPendingEntry] = {"LOW", 250};  // equal to the tenth entry
  SaveHighScores();
  EXPECT_EQ(HighScores[9].Name, "BOLO");
  EXPECT_EQ(test::ReadText(story_file()), before);
  // Not left standing for the other mode's table.
  GameOptions.GameMode_Story = false;
  LoadHighScores();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(HighScores[static_cast<std::size_t>(i)].Name, "BOLO") << i;
  GameOptions.GameMode_Story = true;
  LoadHighScores();

  HighScores[kPendingEntry] = {"Bolo", 0};
  SaveHighScores();
  EXPECT_EQ(test::ReadText(story_file()), before);
}

TEST_F(OptionsTest, TopScoreAndLargeScoresSurviveARoundTrip) {
  LoadHighScores();
  HighScores[kPendingEntry] = {"ACE", 123456};
  SaveHighScores();
  EXPECT_EQ(HighScores[0].Name, "ACE");
  HighScores = {};
  LoadHighScores();
  EXPECT_EQ(HighScores[0].Name, "ACE");
  EXPECT_EQ(HighScores[0].Score, 123456);
  EXPECT_EQ(HighScores[1].Score, 2500);
}

}  // namespace
}  // namespace tw::config
