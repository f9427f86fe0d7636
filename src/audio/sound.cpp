#include "audio/sound.h"

#include "config/options.h"
#include "platform/files.h"

namespace tw::audio {

namespace {
SoundObserver g_observer = nullptr;
}  // namespace

void SetSoundObserver(SoundObserver observer) { g_observer = observer; }

void PlaySound(std::string_view name, bool loop, std::int32_t volume, std::int32_t third,
               std::int32_t fourth) {
  if (!config::GameOptions.Sound_On) return;
  if (g_observer != nullptr) g_observer(SoundCall{std::string(name), loop, volume, fourth});
  platform::SoundEngine::Play(name, loop, volume, third, fourth);
}

void StopSound(std::string_view name) { platform::SoundEngine::Stop(name); }

void InitSound(bool allow_device) { platform::SoundEngine::Initialise(platform::AppDir(), allow_device); }

platform::MusicPlayer& MenuTrack() {
  static platform::MusicPlayer track(0);
  return track;
}

platform::MusicPlayer& GameTrack() {
  static platform::MusicPlayer track(1);
  return track;
}

}  // namespace tw::audio
