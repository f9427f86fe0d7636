// Sound effects by name and the two music tracks.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/audio.h"

namespace tw::audio {

// Plays a registered sound when sound is on; `loop` repeats it until stopped.
void PlaySound(std::string_view name, bool loop, std::int32_t volume, std::int32_t third,
               std::int32_t fourth);
// Stops every instance of `name` (whatever the sound option says).
void StopSound(std::string_view name);

// Starts the sound engine (silent when there is no device or none is wanted).
void InitSound(bool allow_device);

platform::MusicPlayer& MenuTrack();
platform::MusicPlayer& GameTrack();

}  // namespace tw::audio
