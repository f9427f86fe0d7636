// The generated data: every catalogue file present in the application
// directory in the format and size the game draws it at, colour keys where
// the game keys, seamless music, a font description that matches the sheets,
// and byte-identical output from run to run.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "render/bitmap_font.h"
#include "render/catalogue.h"
#include "render/dds.h"
#include "render/draw.h"
#include "platform/video.h"
#include "offscreen_canvas.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t le16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
fs::path app(const std::string& rel) { return fs::path(TW_APP_DIR) / rel; }

// --- readers: pictures through the game's own loaders, sounds against the format --

// A picture drawn by the game at texel size, unkeyed, at the canvas corner.
struct Drawn {
  tw::test::CanvasShot at;
  int w = 0, h = 0;
  std::uint32_t px(int x, int y) const { return at(x, y) & 0xFFFFFFu; }
  bool magenta(int x, int y) const { return px(x, y) == 0xFF00FFu; }
};
Drawn draw(const std::string& path) {
  const auto texture = tw::render::CreateTextureFromFile(app(path).string(), 0);
  int w = 0, h = 0;
  EXPECT_TRUE(texture != 0 && tw::platform::TextureSize(texture, w, h) && w <= 640 && h <= 480) << path;
  tw::render::FillCanvas(0xFF000000u);
  tw::render::DrawSprite(texture, 0, 0, static_cast<float>(w), static_cast<float>(h), 0, 100, 0, 0);
  return {tw::test::CanvasShot(), w, h};
}

// DDS through the game's own reader (itself checked against fixtures from a public tool).
tw::render::DdsImage readDds(const fs::path& p) {
  const Bytes b = readAll(p);
  tw::render::DdsImage img;
  EXPECT_TRUE(tw::render::DecodeDds(std::string(b.begin(), b.end()), img)) << p;
  return img;
}

struct Wav {
  int rate = 0, channels = 0, bits = 0;
  std::vector<std::int16_t> samples;
  bool ok = false;
};

Wav readWav(const fs::path& p) {
  Wav w;
  const Bytes b = readAll(p);
  if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" || std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
    return w;
  std::size_t i = 12;
  bool fmt = false;
  while (i + 8 <= b.size()) {
    const std::string id(b.begin() + static_cast<long>(i), b.begin() + static_cast<long>(i) + 4);
    const std::size_t len = le32(b, i + 4);
    if (id == "fmt ") {
      if (le16(b, i + 8) != 1) return w;  // PCM
      w.channels = le16(b, i + 10);
      w.rate = static_cast<int>(le32(b, i + 12));
      w.bits = le16(b, i + 22);
      fmt = true;
    } else if (id == "data" && fmt && i + 8 + len <= b.size()) {
      for (std::size_t k = 0; k + 1 < len; k += 2) w.samples.push_back(static_cast<std::int16_t>(le16(b, i + 8 + k)));
      w.ok = w.bits == 16;
      return w;
    }
    i += 8 + len + (len & 1);
  }
  return w;
}

// The music through libvorbisfile, an Ogg Vorbis decoder of its own (the game
// decodes with SDL_mixer's), into the same shape as a wave file.
Wav readOgg(const fs::path& p) {
  Wav w;
  const Bytes b = readAll(p);
  if (b.size() < 4 || std::string(b.begin(), b.begin() + 4) != "OggS") return w;
  OggVorbis_File vf;
  if (ov_fopen(p.c_str(), &vf) != 0) return w;
  const vorbis_info* vi = ov_info(&vf, -1);
  w.rate = static_cast<int>(vi->rate);
  w.channels = vi->channels;
  w.bits = 16;
  char buf[8192];
  int section = 0;
  long got = 0;
  while ((got = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) > 0) {
    for (long k = 0; k + 1 < got; k += 2)
      w.samples.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(buf[k]) | (static_cast<std::uint8_t>(buf[k + 1]) << 8)));
  }
  w.ok = got == 0;
  ov_clear(&vf);
  return w;
}

// --- the catalogue, as the game loads it --------------------------------------

// A catalogue path as the generated file's path: lower case, forward slashes.
std::string onDisk(std::string rel) {
  std::replace(rel.begin(), rel.end(), '\\', '/');
  for (char& c : rel) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return rel.substr(rel.front() == '/' ? 1 : 0);
}

// The size the game draws a picture at: the first rule whose part the path
// holds; 0 x 0 for sheets and backgrounds of free size; 32 x 32 otherwise
// (tiles, walls, bonuses, the creature, arrow, drills, weight icon, butterflies).
std::pair<int, int> drawnSize(const std::string& path) {
  struct Rule {
    const char* part;
    int w, h;
  };
  static const Rule rules[] = {
      {"fonts/", 0, 0},          {"clouds", 0, 0},          {"background_", 0, 0},
      {".jpg", 640, 480},        {"options/", 256, 64},     {"logo_kelvo", 316, 131},
      {"credits/", 512, 64},     {"menu/b_", 256, 64},      {"menu/s_", 512, 64},
      {"title.dds", 512, 155},   {"story", 512, 512},       {"howtoplay", 512, 512},
      {"logo_loading", 128, 32}, {"level_text", 256, 128},  {"level_num_", 128, 128},
      {"paused", 512, 128},      {"sidebar_h", 128, 32},    {"sidebar", 32, 128},
      {"explosion", 134, 128},   {"text_boom", 64, 19},     {"debug_window", 129, 257},
      {"particles", 64, 32}};
  for (const Rule& r : rules) {
    if (path.find(r.part) != std::string::npos) return {r.w, r.h};
  }
  return {32, 32};
}

using GeneratedData = tw::test::OffscreenCanvasTest;

// Every picture loads through the game's own loader at the size it is drawn;
// DDS pictures have some opaque texel, particles an alpha channel, and keyed
// pictures both key colour (where the game shows through) and ink.
TEST_F(GeneratedData, EveryPictureLoadsAtItsDrawnSizeWithKeyAndInk) {
  std::vector<std::pair<std::string, std::uint32_t>> pictures = {{"wd.jpg", 0}, {"wd_wow.jpg", 0}};
  for (const auto& e : tw::render::TextureCatalogue()) pictures.emplace_back(onDisk(e.path), e.key);
  int keyed = 0;
  for (const auto& [path, key] : pictures) {
    SCOPED_TRACE(path);
    const auto texture = tw::render::CreateTextureFromFile(app(path).string(), 0);
    int w = 0, h = 0;
    ASSERT_TRUE(texture != 0 && tw::platform::TextureSize(texture, w, h));
    if (const auto [want_w, want_h] = drawnSize(path); want_w != 0) {
      EXPECT_EQ(std::tuple(w, h), std::tuple(want_w, want_h));
    }
    if (path.ends_with(".dds")) {
      const auto& argb = readDds(app(path)).argb;
      EXPECT_TRUE(std::any_of(argb.begin(), argb.end(), [](std::uint32_t c) { return c >> 24 > 128; })) << "an empty picture";
    } else if (path.ends_with(".png")) {
      EXPECT_EQ(readAll(app(path)).at(25), 6) << "particles need an alpha channel";
    }
    if (key == 0) continue;
    ++keyed;
    const Drawn b = draw(path);
    int magenta = 0;
    for (int y = 0; y < b.h; ++y)
      for (int x = 0; x < b.w; ++x) magenta += b.magenta(x, y);
    EXPECT_TRUE(magenta > 0 && magenta < b.w * b.h) << magenta;
  }
  EXPECT_GT(keyed, 0);
}

TEST_F(GeneratedData, EffectsAndMusicMixWithoutClipping) {
  const auto wave = [](const char* name) {
    for (const auto& sound : tw::render::SoundCatalogue)
      if (std::string(sound.name) == name) return readWav(app(onDisk(sound.file)));
    ADD_FAILURE() << "no sound " << name;
    return Wav{};
  };
  const auto peak = [](const Wav& w) {
    int p = 0;
    for (auto v : w.samples) p = std::max(p, std::abs(static_cast<int>(v)));
    return p;
  };
  // Every effect peaks at the same level, about -10.5 dBFS.
  for (const auto& sound : tw::render::SoundCatalogue) {
    SCOPED_TRACE(sound.file);
    const int p = peak(readWav(app(onDisk(sound.file))));
    EXPECT_GT(p, 32767 * 27 / 100);
    EXPECT_LT(p, 32767 * 32 / 100);
  }
  // The music (Ogg Vorbis, 44.1 kHz stereo)
  // starts and wraps on silence, and at its loudest leaves room.
  int music = 0;
  for (const char* m : {tw::render::kMenuMusicFile, tw::render::kGameMusicFile}) {
    SCOPED_TRACE(m);
    const Wav w = readOgg(app(onDisk(m)));
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(std::tuple(w.rate, w.channels), std::tuple(44100, 2));
    // Near silence: the lossy codec's noise stays below -48 dBFS (128).
    for (std::size_t c = 0; c < static_cast<std::size_t>(w.channels); ++c) {
      EXPECT_LE(std::abs(static_cast<int>(w.samples[c])), 128);
      EXPECT_LE(std::abs(static_cast<int>(w.samples[w.samples.size() - static_cast<std::size_t>(w.channels) + c])), 128);
    }
    music = std::max(music, peak(w));
  }
  // The usual overlaps, started together or a little apart, over the music
  // at its loudest sample and 90 % volume, stay below full scale.
  const std::vector<std::vector<const char*>> overlaps = {
      {"explode5", "waterhit1"}, {"explode6", "waterhit3"}, {"breakglass1", "fall1", "boing"},
      {"breakglass2", "fall1", "boing"}, {"breakother1", "tilepush", "fall1"}};
  for (const auto& names : overlaps) {
    std::vector<Wav> waves;
    for (const char* n : names) waves.push_back(wave(n));
    for (std::size_t gap : {0, 441, 2205, 4410}) {
      std::vector<int> sum;
      for (std::size_t k = 0; k < waves.size(); ++k) {
        const std::size_t at = k * gap;
        if (sum.size() < at + waves[k].samples.size()) sum.resize(at + waves[k].samples.size());
        for (std::size_t i = 0; i < waves[k].samples.size(); ++i) sum[at + i] += waves[k].samples[i];
      }
      int worst = 0;
      for (int v : sum) worst = std::max(worst, std::abs(v));
      EXPECT_LT(worst + music * 9 / 10, 32767) << names.front() << " + " << names.back() << ", " << gap << " apart";
    }
  }
}

TEST_F(GeneratedData, FontDescriptionIsTheBuiltInLayout) {
  const Bytes raw = readAll(app("font.ini"));
  tw::render::GlyphTable font;
  ASSERT_TRUE(tw::render::ParseFontDescription(std::string(raw.begin(), raw.end()), font));
  const tw::render::GlyphTable layout = tw::render::BuiltInFontLayout();
  EXPECT_EQ(std::tuple(font.width, font.height), std::tuple(22, 22));
  for (std::size_t i = 0; i < font.chars.size(); ++i)
    EXPECT_TRUE(font.pos[i].x == layout.pos[i].x && font.pos[i].y == layout.pos[i].y) << "glyph " << i;
}

TEST_F(GeneratedData, GenerationIsDeterministic) {
  const fs::path base = fs::temp_directory_path() / ("tw_datagen_test_" + std::to_string(::getpid()));
  fs::remove_all(base);
  const fs::path a = base / "a", b = base / "b";
  ASSERT_EQ(std::system(("\"" + std::string(TW_DATAGEN) + "\" \"" + a.string() + "\"").c_str()), 0);
  ASSERT_EQ(std::system(("\"" + std::string(TW_DATAGEN) + "\" \"" + b.string() + "\"").c_str()), 0);
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(a)) {
    if (!entry.is_regular_file()) continue;
    const fs::path rel = fs::relative(entry.path(), a);
    SCOPED_TRACE(rel.string());
    ASSERT_TRUE(fs::exists(b / rel));
    EXPECT_TRUE(readAll(entry.path()) == readAll(b / rel));
    // Names are lower case: the game's lookups ignore case, the file system does not.
    const std::string name = rel.string();
    EXPECT_FALSE(std::any_of(name.begin(), name.end(), [](unsigned char c) { return std::isupper(c); }));
    ++files;
  }
  // 165 pictures, 25 sound files, two music tracks and the font description.
  EXPECT_EQ(files, 165 + 25 + 2 + 1);
  fs::remove_all(base);
}

}  // namespace
