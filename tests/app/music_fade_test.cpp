#include <gtest/gtest.h>

#include <vector>

#include "audio/sound.h"
#include "config/options.h"
#include "app/main_loop.h"

namespace tw::app {
namespace {

// The fades run on the levels alone; with no sound device the players accept
// every call and do nothing.
TEST(MusicFades, MenuLevelClimbsThenAlternatesAtTheTop) {
  config::GameOptions.Sound_On = true;
  MenuMusicLevel = 90;
  std::vector<float> seen;
  for (int i = 0; i < 15; ++i) {
    MenuFrameMusic();
    seen.push_back(MenuMusicLevel);
  }
  const std::vector<float> expected{91, 92, 93, 94, 95, 96, 97, 98, 99, 100, 101, 100, 101, 100, 101};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(audio::MenuTrack().Volume(), 101);
}

TEST(MusicFades, MenuLevelRisesFasterBelowSixty) {
  config::GameOptions.Sound_On = true;
  MenuMusicLevel = 50;
  MenuFrameMusic();
  EXPECT_EQ(MenuMusicLevel, 54);
  MenuMusicLevel = 59.5f;
  MenuFrameMusic();
  EXPECT_EQ(MenuMusicLevel, 63.5f);
  EXPECT_EQ(audio::MenuTrack().Volume(), 63);  // the floor of the level
}

TEST(MusicFades, GameLevelFromOne) {
  config::GameOptions.Sound_On = true;
  GameMusicLevel = 1;
  MenuMusicLevel = 1;
  std::vector<float> seen;
  for (int i = 0; i < 50; ++i) {
    GameFrameMusic();
    seen.push_back(GameMusicLevel);
  }
  // 5, 9, ..., 61 in steps of four, then one by one to 90, then held.
  EXPECT_EQ(seen[0], 5);
  EXPECT_EQ(seen[1], 9);
  EXPECT_EQ(seen[14], 61);
  EXPECT_EQ(seen[15], 62);
  EXPECT_EQ(seen[43], 90);
  EXPECT_EQ(seen[44], 90);
  EXPECT_EQ(seen[49], 90);
  EXPECT_EQ(audio::GameTrack().Volume(), 90);
}

TEST(MusicFades, CrossFadeLowersTheOtherTrack) {
  config::GameOptions.Sound_On = true;
  MenuMusicLevel = 1.3f;
  GameMusicLevel = 90;
  GameFrameMusic();  // in a game the menu track fades by 0.1
  EXPECT_FLOAT_EQ(MenuMusicLevel, 1.2f);
  EXPECT_EQ(audio::MenuTrack().Volume(), 1);
  MenuMusicLevel = 100;
  GameMusicLevel = 1.1f;
  MenuFrameMusic();  // in the menu the game track fades by 0.2
  EXPECT_FLOAT_EQ(GameMusicLevel, 0.9f);
  MenuFrameMusic();  // at or below 1 it is left alone
  EXPECT_FLOAT_EQ(GameMusicLevel, 0.9f);
}

TEST(MusicFades, NothingMovesWithSoundOff) {
  config::GameOptions.Sound_On = false;
  MenuMusicLevel = 50;
  GameMusicLevel = 50;
  MenuFrameMusic();
  GameFrameMusic();
  EXPECT_EQ(MenuMusicLevel, 50);
  EXPECT_EQ(GameMusicLevel, 50);
}

}  // namespace
}  // namespace tw::app
