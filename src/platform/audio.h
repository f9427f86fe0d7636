// Sound effects by name and music tracks that can play and cross-fade at the
// same time. With no sound device (or headless) the game runs silent: every
// call is accepted and does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tw::platform {

// True for a RIFF/WAVE file whose chunks all lie inside it, with a sane
// format before its samples, or for an Ogg stream. Nothing else is handed to
// the mixer library.
bool SoundHeaderAcceptable(std::string_view bytes);

// The sound-effects engine.
class SoundEngine {
 public:
  // Opens the sound device. `directory` is where sound files are looked up.
  // False (and silent from then on) when there is no device.
  static bool Initialise(std::string_view directory, bool allow_device);
  static bool Active();
  // Registers the sound in `file` (relative to the directory) under `name`.
  static void Load(std::string_view file, std::string_view name);
  // Starts a registered sound; `loop` repeats it until stopped; volume in percent.
  // `pitch_hint` is accepted for the callers' sake; it is not used.
  static void Play(std::string_view name, bool loop, std::int32_t volume, std::int32_t third,
                   std::int32_t pitch_hint);
  // Stops every playing instance of `name`.
  static void Stop(std::string_view name);
  static bool IsRegistered(std::string_view name);
  static void Shutdown();
};

// A music track on a channel of its own.
class MusicPlayer {
 public:
  explicit MusicPlayer(int slot);
  ~MusicPlayer();
  MusicPlayer(const MusicPlayer&) = delete;
  MusicPlayer& operator=(const MusicPlayer&) = delete;

  // Opens `file` relative to the sound directory.
  bool Open(std::string_view file);
  // Playing position and length in milliseconds; the track loops seamlessly,
  // so the position stays below the length while it plays.
  std::int32_t Position() const;
  std::int32_t Length() const;
  // Volume 0..100 (101 plays as 100).
  void SetVolume(std::int32_t volume);
  std::int32_t Volume() const { return volume_; }
  void Play(std::int32_t argument);
  void Stop(std::int32_t argument);
  bool Playing() const;
  void Close();

 private:
  int slot_;
  void* chunk_ = nullptr;
  std::int32_t volume_ = 100;
  std::int32_t length_ms_ = 0;
  std::uint64_t started_ms_ = 0;
  bool started_ = false;
};

}  // namespace tw::platform
