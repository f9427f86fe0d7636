#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"

namespace tw::platform {

namespace {

constexpr int kMusicChannels = 2;  // channels 0 and 1 belong to the music players
constexpr int kChannels = 32;

struct AudioState {
  bool active = false;
  std::string directory;
  std::map<std::string, Mix_Chunk*> files;  // one chunk per file
  std::map<std::string, Mix_Chunk*> names;  // sound name -> chunk
  std::vector<std::string> channel_names = std::vector<std::string>(kChannels);
};

AudioState a;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string Resolve(std::string_view file) {
  std::string rel(file);
  for (char& c : rel) {
    if (c == '\\') c = '/';
  }
  while (!rel.empty() && rel.front() == '/') rel.erase(rel.begin());
  return ResolvePath(a.directory + "/" + rel);
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 4; i-- > 0;) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

// Decodes a sound file, but only after its header has been checked: a
// damaged one can make the mixer library ask for gigabytes. A missing or
// damaged file is skipped with one line.
Mix_Chunk* DecodeChecked(const std::string& path) {
  const auto bytes = ReadFile(path);
  if (!bytes) {
    std::fprintf(stderr, "tumblewell: sound file %s is missing, skipped\n", path.c_str());
    return nullptr;
  }
  if (!SoundHeaderAcceptable(*bytes)) {
    std::fprintf(stderr, "tumblewell: sound file %s is not a sound the game can play, skipped\n", path.c_str());
    return nullptr;
  }
  return Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1);
}

Mix_Chunk* LoadChunk(std::string_view file) {
  const std::string path = Resolve(file);
  auto it = a.files.find(path);
  if (it != a.files.end()) return it->second;
  Mix_Chunk* chunk = DecodeChecked(path);
  a.files[path] = chunk;  // a failed load is remembered as empty
  return chunk;
}

// Opening a sound device that is not there makes the sound libraries print
// pages of complaints; keep stderr quiet while trying and report in one line.
bool OpenDeviceQuietly() {
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  const int devnull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved >= 0 && devnull >= 0) ::dup2(devnull, STDERR_FILENO);
  bool ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (ok && Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    ok = false;
  }
  std::fflush(stderr);
  if (saved >= 0) {
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
  }
  if (devnull >= 0) ::close(devnull);
  return ok;
}

std::uint64_t NowMs() { return SDL_GetTicks64(); }

int MixVolume(std::int32_t percent) {
  return std::clamp(static_cast<int>(percent), 0, 100) * MIX_MAX_VOLUME / 100;
}

}  // namespace

bool SoundHeaderAcceptable(std::string_view bytes) {
  if (bytes.size() >= 27 && bytes.substr(0, 4) == "OggS") return bytes[4] == '\0';  // stream structure version 0
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") return false;
  // Every chunk must lie inside the file; the format must be a sane one and
  // come before the samples.
  bool format = false;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint64_t size = Le32(bytes, at + 4);
    if (size > bytes.size() - at - 8) return false;
    if (id == "fmt ") {
      if (size < 16) return false;
      const std::uint32_t channels = Le32(bytes, at + 8) >> 16;
      const std::uint32_t rate = Le32(bytes, at + 12);
      const std::uint32_t bits = Le32(bytes, at + 20) >> 16;
      format = channels >= 1 && channels <= 8 && rate >= 1000 && rate <= 384000 && bits >= 4 && bits <= 64;
      if (!format) return false;
    } else if (id == "data") {
      return format;
    }
    at += 8 + static_cast<std::size_t>(size) + (size & 1u);  // chunks are padded to even sizes
  }
  return false;  // no samples
}

bool SoundEngine::Initialise(std::string_view directory, bool allow_device) {
  a.directory = std::string(directory);
  if (a.active || !allow_device) return a.active;
  if (!OpenDeviceQuietly()) {
    std::fprintf(stderr, "tumblewell: no sound device, playing without sound\n");
    return false;
  }
  Mix_AllocateChannels(kChannels);
  Mix_ReserveChannels(kMusicChannels);
  a.active = true;
  return true;
}

bool SoundEngine::Active() { return a.active; }

void SoundEngine::Load(std::string_view file, std::string_view name) {
  // Names are remembered even without a device, so callers can check them.
  a.names[Lower(name)] = a.active ? LoadChunk(file) : nullptr;
}

bool SoundEngine::IsRegistered(std::string_view name) { return a.names.count(Lower(name)) != 0; }

void SoundEngine::Play(std::string_view name, bool loop, std::int32_t volume, std::int32_t /*third*/,
                       std::int32_t /*pitch_hint*/) {
  if (!a.active) return;
  auto it = a.names.find(Lower(name));
  if (it == a.names.end() || it->second == nullptr) return;
  const int channel = Mix_PlayChannel(-1, it->second, loop ? -1 : 0);
  if (channel < 0) return;  // every channel busy: the sound is dropped
  Mix_Volume(channel, MixVolume(volume));
  if (channel < kChannels) a.channel_names[static_cast<std::size_t>(channel)] = Lower(name);
}

void SoundEngine::Stop(std::string_view name) {
  if (!a.active) return;
  const std::string n = Lower(name);
  for (int ch = kMusicChannels; ch < kChannels; ++ch) {
    if (a.channel_names[static_cast<std::size_t>(ch)] == n && Mix_Playing(ch)) Mix_HaltChannel(ch);
  }
}

void SoundEngine::Shutdown() {
  if (!a.active) return;
  Mix_HaltChannel(-1);
  for (auto& [path, chunk] : a.files) {
    if (chunk != nullptr) Mix_FreeChunk(chunk);
  }
  a.files.clear();
  a.names.clear();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  a.active = false;
}

MusicPlayer::MusicPlayer(int slot) : slot_(std::clamp(slot, 0, kMusicChannels - 1)) {}

MusicPlayer::~MusicPlayer() { Close(); }

bool MusicPlayer::Open(std::string_view file) {
  Close();
  if (!a.active) return false;
  auto* chunk = DecodeChecked(Resolve(file));
  if (chunk == nullptr) return false;
  chunk_ = chunk;
  int freq = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&freq, &format, &channels);
  const int bytes_per_sample = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
  if (freq > 0 && channels > 0 && bytes_per_sample > 0) {
    const double frames = static_cast<double>(chunk->alen) / (bytes_per_sample * channels);
    length_ms_ = static_cast<std::int32_t>(frames * 1000.0 / freq);
  }
  return true;
}

std::int32_t MusicPlayer::Position() const {
  if (!Playing() || length_ms_ <= 0) return 0;
  // The track loops on its own; the position wraps with it.
  return static_cast<std::int32_t>((NowMs() - started_ms_) % static_cast<std::uint64_t>(length_ms_));
}

std::int32_t MusicPlayer::Length() const { return length_ms_; }

void MusicPlayer::SetVolume(std::int32_t volume) {
  volume_ = volume;
  if (a.active && chunk_ != nullptr) Mix_Volume(slot_, MixVolume(volume));
}

void MusicPlayer::Play(std::int32_t /*argument*/) {
  if (!a.active || chunk_ == nullptr) return;
  if (Mix_PlayChannel(slot_, static_cast<Mix_Chunk*>(chunk_), -1) < 0) return;
  Mix_Volume(slot_, MixVolume(volume_));
  started_ms_ = NowMs();
  started_ = true;
}

void MusicPlayer::Stop(std::int32_t /*argument*/) {
  if (a.active && chunk_ != nullptr) Mix_HaltChannel(slot_);
  started_ = false;
}

bool MusicPlayer::Playing() const { return a.active && chunk_ != nullptr && started_ && Mix_Playing(slot_) != 0; }

void MusicPlayer::Close() {
  if (chunk_ != nullptr) {
    if (a.active) {
      Mix_HaltChannel(slot_);
      Mix_FreeChunk(static_cast<Mix_Chunk*>(chunk_));
    }
    chunk_ = nullptr;
  }
  started_ = false;
  length_ms_ = 0;
}

}  // namespace tw::platform
