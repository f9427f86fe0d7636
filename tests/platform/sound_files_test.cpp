// Sound files are checked before the mixer library sees them: a damaged
// header can make it ask for gigabytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/audio.h"
#include "test_support.h"

namespace tw::platform {
namespace {

void Put(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i));
}

// A 16-bit PCM WAVE file whose data chunk claims `claimed` bytes and holds 64.
std::string Wave(std::uint32_t claimed, std::uint16_t channels = 1) {
  std::string w = "RIFF";
  Put(w, 36 + 64, 4);
  w += "WAVEfmt ";
  Put(w, 16, 4);
  Put(w, 1, 2);
  Put(w, channels, 2);
  Put(w, 22050, 4);
  Put(w, 22050u * 2u * channels, 4);
  Put(w, 2u * channels, 2);
  Put(w, 16, 2);
  w += "data";
  Put(w, claimed, 4);
  return w + std::string(64, '\0');
}

TEST(SoundFiles, DamagedHeadersNeverReachTheMixer) {
  struct Case {
    const char* what;
    std::string bytes;
    bool playable;
  };
  const Case cases[] = {
      {"sound", Wave(64), true},
      {"data claiming 2 GB", Wave(0x7FFFFFF0u), false},
      {"no channels", Wave(64, 0), false},
      {"cut in its header", Wave(64).substr(0, 30), false},
      {"another RIFF file", std::string("RIFF\x0c\0\0\0AVI LIST\0\0\0\0", 20), false},
      {"text", "not a sound at all", false},
      {"Ogg stream", "OggS" + std::string(40, '\0'), true},
  };
  for (const Case& c : cases) EXPECT_EQ(SoundHeaderAcceptable(c.bytes), c.playable) << c.what;

  // Through a real (dummy) device: only the sound opens.
  test::TempDir dir;
  if (!SoundEngine::Initialise(dir.path, true)) GTEST_SKIP() << "no sound device";
  MusicPlayer player(0);
  for (const Case& c : cases) {
    if (std::string(c.what) == "Ogg stream") continue;  // a header only, nothing to decode
    test::WriteText(dir.File("track.wav"), c.bytes);
    EXPECT_EQ(player.Open("track.wav"), c.playable) << c.what;
  }
  EXPECT_FALSE(player.Open("missing.wav"));
  player.Close();
  SoundEngine::Shutdown();
}

}  // namespace
}  // namespace tw::platform
