// The generated data: every catalogue file present in the application
// directory in the format and size the game draws it at, colour keys where
// the game keys, seamless music, a font description that matches the sheets,
// and byte-identical output from run to run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "config/ini_store.h"

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
std::uint32_t be32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
         static_cast<std::uint32_t>(b[at + 2]) << 8 | static_cast<std::uint32_t>(b[at + 3]);
}

fs::path app(const std::string& rel) { return fs::path(TW_APP_DIR) / rel; }

// --- format readers, written against the file formats, not the generator ----

struct Bmp {
  int w = 0, h = 0;
  Bytes rgb;  // top-down
  bool ok = false;
  const std::uint8_t* px(int x, int y) const { return &rgb[static_cast<std::size_t>(y * w + x) * 3]; }
  bool magenta(int x, int y) const {
    const auto* p = px(x, y);
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
  }
};

Bmp readBmp(const fs::path& p) {
  Bmp bmp;
  const Bytes b = readAll(p);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le16(b, 28) != 24 || le32(b, 30) != 0) return bmp;
  bmp.w = static_cast<int>(le32(b, 18));
  bmp.h = static_cast<int>(le32(b, 22));
  const std::size_t row = (static_cast<std::size_t>(bmp.w) * 3 + 3) & ~std::size_t{3};
  const std::size_t off = le32(b, 10);
  if (bmp.w <= 0 || bmp.h <= 0 || b.size() < off + row * static_cast<std::size_t>(bmp.h)) return bmp;
  bmp.rgb.resize(static_cast<std::size_t>(bmp.w * bmp.h) * 3);
  for (int y = 0; y < bmp.h; ++y)
    for (int x = 0; x < bmp.w; ++x) {
      const std::size_t s = off + row * static_cast<std::size_t>(bmp.h - 1 - y) + static_cast<std::size_t>(x) * 3;
      auto* d = &bmp.rgb[static_cast<std::size_t>(y * bmp.w + x) * 3];
      d[0] = b[s + 2];
      d[1] = b[s + 1];
      d[2] = b[s];
    }
  bmp.ok = true;
  return bmp;
}

struct Dds {
  int w = 0, h = 0;
  Bytes argb;  // B, G, R, A per texel as stored
  bool ok = false;
  int alpha(int x, int y) const { return argb[static_cast<std::size_t>(y * w + x) * 4 + 3]; }
  int red(int x, int y) const { return argb[static_cast<std::size_t>(y * w + x) * 4 + 2]; }
  int green(int x, int y) const { return argb[static_cast<std::size_t>(y * w + x) * 4 + 1]; }
  int blue(int x, int y) const { return argb[static_cast<std::size_t>(y * w + x) * 4]; }
};

Dds readDds(const fs::path& p) {
  Dds d;
  const Bytes b = readAll(p);
  if (b.size() < 128 || b[0] != 'D' || b[1] != 'D' || b[2] != 'S' || b[3] != ' ') return d;
  const std::uint32_t flags = le32(b, 8);
  // Header size, caps/size/pixel-format flags, and an uncompressed 32-bit
  // format with alpha in the top byte.
  if (le32(b, 4) != 124 || (flags & 0x1007) != 0x1007 || le32(b, 76) != 32) return d;
  if ((le32(b, 80) & 0x41) != 0x41 || le32(b, 88) != 32) return d;
  if (le32(b, 92) != 0x00FF0000 || le32(b, 96) != 0x0000FF00 || le32(b, 100) != 0x000000FF || le32(b, 104) != 0xFF000000u)
    return d;
  d.h = static_cast<int>(le32(b, 12));
  d.w = static_cast<int>(le32(b, 16));
  if (b.size() != 128 + static_cast<std::size_t>(d.w * d.h) * 4) return d;
  d.argb.assign(b.begin() + 128, b.end());
  d.ok = true;
  return d;
}

bool jpegSize(const fs::path& p, int& w, int& h) {
  const Bytes b = readAll(p);
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
  std::size_t i = 2;
  while (i + 9 < b.size()) {
    if (b[i] != 0xFF) return false;
    const std::uint8_t m = b[i + 1];
    const std::size_t len = static_cast<std::size_t>(b[i + 2] << 8 | b[i + 3]);
    if (m == 0xC0 || m == 0xC1 || m == 0xC2) {
      h = b[i + 5] << 8 | b[i + 6];
      w = b[i + 7] << 8 | b[i + 8];
      return true;
    }
    i += 2 + len;
  }
  return false;
}

struct Wav {
  int rate = 0, channels = 0, bits = 0;
  std::vector<std::int16_t> samples;
  bool ok = false;
  double seconds() const { return channels ? static_cast<double>(samples.size()) / channels / rate : 0; }
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

// --- the catalogue, as the game loads it --------------------------------------

const char* kColours[] = {"green", "greendark", "blue", "blue2", "bluedark", "bluelight", "brown",
                          "orange", "orangedark", "red", "reddark", "yellow", "bw"};

struct Expect {
  std::string path;
  int w, h;  // 0: any size
};

std::vector<Expect> ddsCatalogue() {
  std::vector<Expect> e;
  for (const char* c : kColours)
    for (const char* m : {"", "_mud", "_gum", "_ice"})
      e.push_back({std::string("textures/level_tiles/tile_ground_") + c + m + ".dds", 32, 32});
  e.push_back({"textures/level_tiles/tile_ground_stone.dds", 32, 32});
  e.push_back({"textures/menu/logo_loading.dds", 128, 32});
  e.push_back({"textures/level_text.dds", 256, 128});
  for (int n = 0; n <= 11; ++n) e.push_back({"textures/level_num_" + std::to_string(n) + ".dds", 128, 128});
  e.push_back({"textures/paused.dds", 512, 128});
  e.push_back({"textures/tile_wall_metal.dds", 32, 32});
  for (const char* b : {"bonus_selection", "bomb", "boot", "bombglass", "bigears"})
    e.push_back({std::string("textures/bonus/") + b + ".dds", 32, 32});
  e.push_back({"textures/sidebar.dds", 32, 128});
  e.push_back({"textures/sidebar_h.dds", 128, 32});
  e.push_back({"textures/bolo_blue.dds", 32, 32});
  e.push_back({"textures/bolo_eyes.dds", 32, 32});
  e.push_back({"textures/bonus/explosion.dds", 134, 128});
  e.push_back({"textures/arrow.dds", 32, 32});
  e.push_back({"textures/weighticon.dds", 32, 32});
  e.push_back({"textures/menu/title.dds", 512, 155});
  for (int k = 1; k <= 5; ++k) e.push_back({"textures/menu/butterfly" + std::to_string(k) + ".dds", 32, 32});
  for (const char* s : {"story", "story2", "howtoplay"}) e.push_back({std::string("textures/menu/") + s + ".dds", 512, 512});
  for (const char* b : {"b_newgame", "b_highscores", "b_story", "b_options", "b_howtoplay", "b_credits", "b_exit", "b_back", "b_next"})
    e.push_back({std::string("textures/menu/") + b + ".dds", 256, 64});
  for (const char* c : {"c_contributor11", "c_copyright", "c_contributor01", "c_contributor10", "c_contributor03",
                        "c_contributor02", "c_contributor04", "c_tumblewell", "c_contributor05", "c_graphics",
                        "c_contributor06", "c_contributor07", "c_contributor08", "c_contributor09", "c_programming",
                        "c_soundandmusic", "c_thanksto"})
    e.push_back({std::string("textures/menu/credits/") + c + ".dds", 512, 64});
  e.push_back({"textures/menu/credits/logo_kelvo.dds", 316, 131});
  e.push_back({"textures/menu/s_title.dds", 512, 64});
  e.push_back({"textures/menu/s_yournameplease.dds", 512, 64});
  for (const char* o : {"o_gamemode", "o_fullscreen", "o_details", "o_sound", "o_s_gamemode", "o_s_fullscreen", "o_s_details",
                        "o_s_sound", "o_s_on", "o_ss_on", "o_s_off", "o_ss_off", "o_s_high", "o_ss_high", "o_s_low",
                        "o_ss_low", "o_s_arcade", "o_ss_arcade", "o_s_story", "o_ss_story", "unlock", "restart"})
    e.push_back({std::string("textures/menu/options/") + o + ".dds", 256, 64});
  return e;
}

std::vector<Expect> bmpCatalogue(bool keyed) {
  if (keyed)
    return {{"fonts/blue.bmp", 0, 0},
            {"fonts/default_num.bmp", 0, 0},
            {"textures/level_tiles/tile_ground_glass.bmp", 32, 32},
            {"textures/level_tiles/tile_ground_glass_bw.bmp", 32, 32},
            {"textures/bonus/pie.bmp", 32, 32},
            {"textures/sharp.bmp", 32, 32},
            {"textures/clouds.bmp", 0, 0},
            {"textures/bonus/text_boom.bmp", 64, 19}};
  return {{"textures/tile_wall_bricks.bmp", 32, 32},    {"textures/tile_wall_wood.bmp", 32, 32},
          {"textures/tile_wall_wood_bw.bmp", 32, 32},   {"textures/tile_wall_bricks2.bmp", 32, 32},
          {"textures/tile_wall_bricks2_bw.bmp", 32, 32}, {"textures/tile_wall_ground.bmp", 32, 32},
          {"textures/debug_window.bmp", 129, 257},      {"textures/background_sky.bmp", 0, 0},
          {"textures/background_lightblue.bmp", 0, 0},  {"textures/background_black.bmp", 0, 0},
          {"textures/background_red.bmp", 0, 0}};
}

const char* kSounds[] = {"menu_selection", "menu_selection2", "jump", "boing", "bonus", "explode1", "explode2",
                         "explode3", "explode4", "explode5", "waterhit1", "waterhit2", "waterhit3", "waterhit4",
                         "waterhit5", "break_glass", "break_glass2", "tile_explo", "tile_push", "fall1", "nidle",
                         "swoosh", "done", "walk", "key"};

TEST(GeneratedData, EveryPictureHasItsFormatAndSize) {
  for (const auto& e : ddsCatalogue()) {
    SCOPED_TRACE(e.path);
    const Dds d = readDds(app(e.path));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.w, e.w);
    EXPECT_EQ(d.h, e.h);
    int opaque = 0;
    for (int y = 0; y < d.h; ++y)
      for (int x = 0; x < d.w; ++x) opaque += d.alpha(x, y) > 128;
    EXPECT_GT(opaque, 0) << "an empty picture";
  }
  for (bool keyed : {true, false})
    for (const auto& e : bmpCatalogue(keyed)) {
      SCOPED_TRACE(e.path);
      const Bmp b = readBmp(app(e.path));
      ASSERT_TRUE(b.ok);
      if (e.w) {
        EXPECT_EQ(b.w, e.w);
        EXPECT_EQ(b.h, e.h);
      }
    }
  for (const char* j : {"textures/menu/logo.jpg", "textures/menu/load1.jpg", "wd.jpg", "wd_wow.jpg"}) {
    SCOPED_TRACE(j);
    int w = 0, h = 0;
    ASSERT_TRUE(jpegSize(app(j), w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
  }
  const Bytes png = readAll(app("textures/particles.png"));
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png[1], 'P');
  EXPECT_EQ(be32(png, 16), 64u);
  EXPECT_EQ(be32(png, 20), 32u);
  EXPECT_EQ(png[25], 6) << "particles need an alpha channel";
}

TEST(GeneratedData, ColourKeyedPicturesAreTransparentWhereTheGameShowsThrough) {
  for (const auto& e : bmpCatalogue(true)) {
    SCOPED_TRACE(e.path);
    const Bmp b = readBmp(app(e.path));
    ASSERT_TRUE(b.ok);
    int key = 0;
    for (int y = 0; y < b.h; ++y)
      for (int x = 0; x < b.w; ++x) key += b.magenta(x, y);
    EXPECT_GT(key, 0);
    EXPECT_LT(key, b.w * b.h);
  }
  // The drill's corners and the boom caption's edges show the shaft behind.
  const Bmp drill = readBmp(app("textures/sharp.bmp"));
  ASSERT_TRUE(drill.ok);
  EXPECT_TRUE(drill.magenta(0, 31));
  EXPECT_TRUE(drill.magenta(31, 31));
  EXPECT_FALSE(drill.magenta(16, 16));
  // Two clouds, each exactly inside the region the game cuts out of the sheet.
  const Bmp clouds = readBmp(app("textures/clouds.bmp"));
  ASSERT_TRUE(clouds.ok);
  ASSERT_GE(clouds.w, 217);
  ASSERT_GE(clouds.h, 177);
  int inside0 = 0, inside1 = 0;
  for (int y = 0; y < clouds.h; ++y)
    for (int x = 0; x < clouds.w; ++x) {
      if (clouds.magenta(x, y)) continue;
      const bool in0 = x < 217 && y < 92;
      const bool in1 = x < 189 && y >= 95 && y < 177;
      EXPECT_TRUE(in0 || in1) << "cloud texel outside both regions at " << x << "," << y;
      inside0 += in0;
      inside1 += in1;
    }
  EXPECT_GT(inside0, 217 * 92 / 3);
  EXPECT_GT(inside1, 189 * 82 / 3);
}

TEST(GeneratedData, PicturesDrawnWithAlphaHaveTransparentSurroundings) {
  // Sprites turned and scaled by the game: their corners must be clear.
  for (const char* p : {"textures/bolo_blue.dds", "textures/bonus/bomb.dds", "textures/bonus/bonus_selection.dds",
                        "textures/arrow.dds", "textures/menu/butterfly1.dds", "textures/menu/b_newgame.dds",
                        "textures/bonus/explosion.dds", "textures/menu/title.dds"}) {
    SCOPED_TRACE(p);
    const Dds d = readDds(app(p));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.alpha(0, 0), 0);
    EXPECT_EQ(d.alpha(d.w - 1, d.h - 1), 0);
  }
  // The creature's body is opaque in the middle; the eye sheet has white eyes
  // in its 14 x 16 corner and dark pupils in the 12 x 7 strip at (1, 19).
  const Dds body = readDds(app("textures/bolo_blue.dds"));
  ASSERT_TRUE(body.ok);
  EXPECT_EQ(body.alpha(16, 16), 255);
  EXPECT_GT(body.blue(16, 16), body.red(16, 16) + 60);
  const Dds eyes = readDds(app("textures/bolo_eyes.dds"));
  ASSERT_TRUE(eyes.ok);
  for (int ex : {3, 10}) {
    EXPECT_EQ(eyes.alpha(ex, 8), 255);
    EXPECT_GT(eyes.red(ex, 8) + eyes.green(ex, 8) + eyes.blue(ex, 8), 700);
    EXPECT_EQ(eyes.alpha(ex, 22), 255);
    EXPECT_LT(eyes.red(ex, 22) + eyes.green(ex, 22) + eyes.blue(ex, 22), 150);
  }
  // The backgrounds are stretched from their first texel.
  const Bmp black = readBmp(app("textures/background_black.bmp"));
  ASSERT_TRUE(black.ok);
  EXPECT_EQ(black.px(0, 0)[0] + black.px(0, 0)[1] + black.px(0, 0)[2], 0);
  const Bmp sky = readBmp(app("textures/background_sky.bmp"));
  ASSERT_TRUE(sky.ok);
  EXPECT_GT(sky.px(0, 0)[2], sky.px(0, 0)[0]);
}

TEST(GeneratedData, SoundsAreShortCleanWaves) {
  for (const char* s : kSounds) {
    SCOPED_TRACE(s);
    const Wav w = readWav(app(std::string("sfx/") + s + ".wav"));
    ASSERT_TRUE(w.ok);
    EXPECT_GE(w.rate, 22050);
    EXPECT_GT(w.seconds(), 0.02);
    EXPECT_LT(w.seconds(), 3.0);
    int peak = 0;
    for (auto v : w.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 8000) << "too quiet to hear";
    EXPECT_LT(peak, 32767) << "clipped";
    // No click at the end: the wave has died away.
    EXPECT_LT(std::abs(static_cast<int>(w.samples.back())), 200);
  }
}

TEST(GeneratedData, MusicLoopsAreLongAndSeamless) {
  for (const char* m : {"music/music_menu.wma", "music/music_game.wma"}) {
    SCOPED_TRACE(m);
    const Wav w = readWav(app(m));
    ASSERT_TRUE(w.ok);
    EXPECT_GE(w.seconds(), 45.0);
    ASSERT_GE(w.channels, 1);
    // The jump from the last frame back to the first is no bigger than the
    // steps the music takes on average: the loop does not click.
    const std::size_t ch = static_cast<std::size_t>(w.channels);
    const std::size_t frames = w.samples.size() / ch;
    for (std::size_t c = 0; c < ch; ++c) {
      double total = 0;
      for (std::size_t i = 1; i < frames; ++i)
        total += std::abs(w.samples[i * ch + c] - w.samples[(i - 1) * ch + c]);
      const double meanStep = total / static_cast<double>(frames - 1);
      const int seam = std::abs(w.samples[c] - w.samples[(frames - 1) * ch + c]);
      EXPECT_LE(seam, 2 * meanStep + 16);
      EXPECT_GT(meanStep, 20) << "silent";
    }
  }
}

TEST(GeneratedData, FontDescriptionMatchesTheSheets) {
  const Bytes raw = readAll(app("font.ini"));
  const std::string ini(raw.begin(), raw.end());
  ASSERT_FALSE(ini.empty());
  using tw::config::ReadIniText;
  EXPECT_EQ(ReadIniText(ini, "Letter sizes", "Width"), "22");
  EXPECT_EQ(ReadIniText(ini, "Letter sizes", "Height"), "22");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "0"), "");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "1"), "0");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "11"), "A");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "36"), "Z");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "44"), "a");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "82"), "\"");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "85"), "\\");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "101"), "\xE2\x82\xAC");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "103"), "\xC2\xA9");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "104"), "@");
  EXPECT_EQ(ReadIniText(ini, "Signs value", "120"), "");

  for (const char* sheet : {"fonts/blue.bmp", "fonts/default_num.bmp"}) {
    SCOPED_TRACE(sheet);
    const Bmp b = readBmp(app(sheet));
    ASSERT_TRUE(b.ok);
    ASSERT_GE(b.w, 253);
    ASSERT_GE(b.h, 253);
    for (int i = 0; i <= 120; ++i) {
      const std::string pos = ReadIniText(ini, "Signs position", std::to_string(i));
      const int x = 23 * (i % 11) + 1, y = 23 * (i / 11) + 1;
      ASSERT_EQ(pos, std::to_string(x) + "x" + std::to_string(y)) << "glyph " << i;
      // Ink only inside the glyph's 22 x 22 box, and only where a character is.
      int ink = 0;
      for (int yy = y - 1; yy < y + 22; ++yy)
        for (int xx = x - 1; xx < x + 22; ++xx) {
          const bool border = yy == y - 1 || xx == x - 1;
          if (!b.magenta(xx, yy)) {
            EXPECT_FALSE(border) << "glyph " << i << " spills over its cell at " << xx << "," << yy;
            ++ink;
          }
        }
      const bool blank = ReadIniText(ini, "Signs value", std::to_string(i)).empty();
      if (blank) EXPECT_EQ(ink, 0) << "glyph " << i;
      else EXPECT_GT(ink, 12) << "glyph " << i;
    }
  }
}

TEST(GeneratedData, GenerationIsDeterministic) {
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
    EXPECT_EQ(name, [&] {
      std::string l = name;
      for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return l;
    }());
    ++files;
  }
  // 165 pictures, 25 sound files, two music tracks and the font description.
  EXPECT_EQ(files, 165 + 25 + 2 + 1);
  fs::remove_all(base);
}

}  // namespace
