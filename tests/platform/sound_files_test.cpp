// Sound files are checked before the mixer library sees them: one whose data
// chunk claimed 2 GB made it ask for the 2 GB.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "platform/audio.h"
#include "test_support.h"

namespace tw::platform {
namespace {

// 16-bit PCM at 22050 Hz with 64 bytes of samples; the data chunk claims `claimed`.
std::string Wave(std::uint32_t claimed, char channels = 1) {
  std::string w = std::string("RIFF\x64\0\0\0WAVEfmt \x10\0\0\0\x01\0", 22) + channels + '\0' +
                  std::string("\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data", 16);
  for (int i = 0; i < 4; ++i) w += static_cast<char>(claimed >> (8 * i));
  return w + std::string(64, '\0');
}

TEST(SoundFiles, OnlyWholeWaveFilesReachTheMixer) {
  EXPECT_TRUE(SoundHeaderAcceptable("OggS" + std::string(40, '\0')));
  test::TempDir dir;
  if (!SoundEngine::Initialise(dir.path, true)) GTEST_SKIP() << "no sound device";
  MusicPlayer player(0);
  const std::pair<std::string, bool> files[] = {
      {Wave(64), true}, {Wave(0x7FFFFFF0u), false}, {Wave(64, 0), false}, {Wave(64).substr(0, 30), false},
      {"not a sound", false}};
  for (const auto& [bytes, playable] : files) {
    test::WriteText(dir.File("track.wav"), bytes);
    EXPECT_EQ(player.Open("track.wav"), playable) << bytes.size() << " bytes";
  }
  EXPECT_FALSE(player.Open("missing.wav"));
  player.Close();
  SoundEngine::Shutdown();
}

}  // namespace
}  // namespace tw::platform
