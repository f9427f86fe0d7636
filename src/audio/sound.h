// Sound effects by name and the two music tracks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/audio.h"

namespace tw::audio {

// Plays a registered sound when sound is on; `loop` repeats it until stopped.
void PlaySound(std::string_view name, bool loop, std::int32_t volume, std::int32_t third,
               std::int32_t fourth);
// Stops every instance of `name` (whatever the sound option says).
void StopSound(std::string_view name);

// Tests can watch which sounds the game plays (after the sound option's gate).
struct SoundCall {
  std::string name;
  bool loop = false;
  std::int32_t volume = 0;
  std::int32_t fourth = 0;
};
using SoundObserver = void (*)(const SoundCall& call);
void SetSoundObserver(SoundObserver observer);

// Starts the sound engine (silent when there is no device or none is wanted).
void InitSound(bool allow_device);

platform::MusicPlayer& MenuTrack();
platform::MusicPlayer& GameTrack();

}  // namespace tw::audio
