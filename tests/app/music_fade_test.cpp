#include <gtest/gtest.h>

#include <vector>

#include "audio/sound.h"
#include "config/options.h"
#include "app/main_loop.h"

namespace tw::app {
namespace {

// The fades run on the levels alone; with no sound device the players accept
// every call and do nothing.
std::vector<float> Levels(void (*frame)(), const float& level, int frames) {
  std::vector<float> seen;
  for (int i = 0; i < frames; ++i) {
    frame();
    seen.push_back(level);
  }
  return seen;
}

TEST(MusicFades, MenuLevelRisesByFourBelowSixtyThenByOneAndAlternatesAtTheTop) {
  config::GameOptions.Sound_On = true;
  MenuMusicLevel = 90;
  EXPECT_EQ(Levels(MenuFrameMusic, MenuMusicLevel, 15),
            (std::vector<float>{91, 92, 93, 94, 95, 96, 97, 98, 99, 100, 101, 100, 101, 100, 101}));
  EXPECT_EQ(audio::MenuTrack().Volume(), 101);
  MenuMusicLevel = 50;
  EXPECT_EQ(Levels(MenuFrameMusic, MenuMusicLevel, 2), (std::vector<float>{54, 58}));
  MenuMusicLevel = 59.5f;
  MenuFrameMusic();
  EXPECT_EQ(MenuMusicLevel, 63.5f);
  EXPECT_EQ(audio::MenuTrack().Volume(), 63);  // the floor of the level
}

TEST(MusicFades, GameLevelFromOne) {
  config::GameOptions.Sound_On = true;
  GameMusicLevel = 1;
  MenuMusicLevel = 1;
  const std::vector<float> seen = Levels(GameFrameMusic, GameMusicLevel, 50);
  // 5, 9, ..., 61 in steps of four, then one by one to 90, then held.
  for (const auto& [frame, level] : {std::pair{0, 5.0f}, {1, 9.0f}, {14, 61.0f}, {15, 62.0f}, {43, 90.0f}, {49, 90.0f}})
    EXPECT_EQ(seen[static_cast<std::size_t>(frame)], level) << frame;
  EXPECT_EQ(audio::GameTrack().Volume(), 90);
}

TEST(MusicFades, CrossFadeLowersTheOtherTrackAndSoundOffHoldsBoth) {
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

  config::GameOptions.Sound_On = false;
  MenuMusicLevel = GameMusicLevel = 50;
  MenuFrameMusic();
  GameFrameMusic();
  EXPECT_EQ(std::tuple(MenuMusicLevel, GameMusicLevel), std::tuple(50.0f, 50.0f));
}

}  // namespace
}  // namespace tw::app
