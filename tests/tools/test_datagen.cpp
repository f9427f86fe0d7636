// The generated data: every catalogue file present in the application
// directory in the format and size the game draws it at, colour keys where
// the game keys, seamless music, a font description that matches the sheets,
// and byte-identical output from run to run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
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
#include "platform/audio.h"
#include "platform/video.h"
#include "audio.hpp"
#include "offscreen_canvas.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path app(const std::string& rel) { return fs::path(TW_APP_DIR) / rel; }

// --- pictures through the game's own loaders, sounds as the generator makes them --

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

// The written sound files are the generator's samples in 16 bits, so the
// levels are checked on the samples and the files by the game's own check.
TEST_F(GeneratedData, EffectsAndMusicMixWithoutClipping) {
  const auto samples = [](const datagen::Audio& a) {
    std::vector<int> out;
    for (float s : a.samples) out.push_back(static_cast<int>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f)));
    return out;
  };
  const auto peak = [](const std::vector<int>& w) {
    int p = 0;
    for (int v : w) p = std::max(p, std::abs(v));
    return p;
  };
  const auto effect = [&](const std::string& catalogue_file) {
    return samples(datagen::makeSound(fs::path(onDisk(catalogue_file)).filename().string()));
  };
  // Every effect is a file the mixer is allowed to open, peaking at the same
  // level, about -10.5 dBFS.
  for (const auto& sound : tw::render::SoundCatalogue) {
    SCOPED_TRACE(sound.file);
    const Bytes raw = readAll(app(onDisk(sound.file)));
    EXPECT_TRUE(tw::platform::SoundHeaderAcceptable(std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size())));
    const int p = peak(effect(sound.file));
    EXPECT_GT(p, 32767 * 27 / 100);
    EXPECT_LT(p, 32767 * 32 / 100);
  }
  // The music (44.1 kHz stereo) starts and wraps on silence (below -48 dBFS),
  // and at its loudest leaves room.
  int music = 0;
  for (const auto& track : {datagen::menuMusic(), datagen::gameMusic()}) {
    const std::vector<int> w = samples(track);
    ASSERT_GE(w.size(), 4u);
    EXPECT_EQ(std::tuple(track.rate, track.channels), std::tuple(44100, 2));
    for (int edge : {w[0], w[1], w[w.size() - 2], w[w.size() - 1]}) EXPECT_LE(std::abs(edge), 128);
    music = std::max(music, peak(w));
  }
  for (const char* m : {tw::render::kMenuMusicFile, tw::render::kGameMusicFile}) {
    const Bytes raw = readAll(app(onDisk(m)));
    EXPECT_TRUE(raw.size() > 4 && std::string(raw.begin(), raw.begin() + 4) == "OggS") << m;
  }
  // The usual overlaps, started together or a little apart, over the music
  // at its loudest sample and 90 % volume, stay below full scale.
  const std::vector<std::vector<const char*>> overlaps = {
      {"explode5", "waterhit1"}, {"explode6", "waterhit3"}, {"breakglass1", "fall1", "boing"},
      {"breakglass2", "fall1", "boing"}, {"breakother1", "tilepush", "fall1"}};
  for (const auto& names : overlaps) {
    std::vector<std::vector<int>> waves;
    for (const char* n : names) {
      const auto it = std::find_if(tw::render::SoundCatalogue.begin(), tw::render::SoundCatalogue.end(),
                                   [&](const auto& sound) { return std::string(sound.name) == n; });
      ASSERT_NE(it, tw::render::SoundCatalogue.end()) << "no sound " << n;
      waves.push_back(effect(it->file));
    }
    for (std::size_t gap : {0, 441, 2205, 4410}) {
      std::vector<int> sum;
      for (std::size_t k = 0; k < waves.size(); ++k) {
        const std::size_t at = k * gap;
        if (sum.size() < at + waves[k].size()) sum.resize(at + waves[k].size());
        for (std::size_t i = 0; i < waves[k].size(); ++i) sum[at + i] += waves[k][i];
      }
      EXPECT_LT(peak(sum) + music * 9 / 10, 32767) << names.front() << " + " << names.back() << ", " << gap << " apart";
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
