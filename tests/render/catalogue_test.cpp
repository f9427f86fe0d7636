// The texture and sound catalogue: the table itself, loading into slots from
// a complete, a damaged and the generated data set, the loading screen's
// "MaxStrings" bookkeeping, and the sound names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <set>
#include <string>
#include <vector>

#include "config/settings_store.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/video.h"
#include "render/bitmap_font.h"
#include "render/catalogue.h"
#include "render/draw.h"
#include "render/picture_header.h"
#include "test_support.h"
#include "offscreen_canvas.h"

namespace fs = std::filesystem;

namespace tw::render {
namespace {

std::string FixturePath(const std::string& name) {
  return std::string(TW_SOURCE_DIR) + "/tests/render/fixtures/" + name;
}

// The catalogue path as a file-system path below `root`, lower case.
fs::path OnDisk(const fs::path& root, std::string rel) {
  std::replace(rel.begin(), rel.end(), '\\', '/');
  std::transform(rel.begin(), rel.end(), rel.begin(), [](unsigned char c) { return std::tolower(c); });
  return root / rel.substr(rel.front() == '/' ? 1 : 0);
}

TEST(CatalogueTable, EverySlotOnce) {
  const auto& t = TextureCatalogue();
  ASSERT_EQ(t.size(), 164u);
  EXPECT_EQ(t.size() - kPreloadEntries, 160u);  // loaded with the loading screen on
  // Every slot is filled by exactly one file; tiles by every cell value but 0 and 53.
  std::set<const Texture*> slots;
  for (const auto& e : t) EXPECT_TRUE(slots.insert(e.slot).second) << e.path;
  for (std::size_t i = 0; i < TileTextures.size(); ++i) EXPECT_EQ(slots.count(&TileTextures[i]), i == 0 || i == 53 ? 0u : 1u) << i;
}

// ---- Loading against a data folder -----------------------------------------

class CatalogueLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "app");
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    ASSERT_TRUE(test::OpenOffscreenCanvas());
    platform::SetAppDir((root_ / "app").string());
    LoadCount = LoadTotal = LoadPercent = 0;
    LoadingScreenOn = false;
    LogoFade = 0;
  }
  void TearDown() override {
    ReleaseAllTextures();
    test::CloseOffscreenCanvas();
  }

  // A small file of the right kind for every catalogue entry.
  void WriteFakeData() {
    for (const auto& e : TextureCatalogue()) {
      const fs::path target = OnDisk(root_ / "app", e.path);
      fs::create_directories(target.parent_path());
      const std::string ext = target.extension().string();
      const char* source = ext == ".dds" ? "pattern_dxt5.dds"
                           : ext == ".bmp" ? "key_left.bmp"
                           : ext == ".png" ? "tiny.png"
                                           : "tiny.jpg";
      fs::copy_file(FixturePath(source), target, fs::copy_options::overwrite_existing);
    }
  }

  std::string Stored() { return config::GetSetting(config::AppName(), "Loading", "MaxStrings", "<none>"); }

  test::TempDir temp_;
  const fs::path root_ = temp_.path;
};

TEST_F(CatalogueLoad, EveryEntryLoadsIntoItsSlot) {
  WriteFakeData();
  LoadAllTextures();
  for (const auto& e : TextureCatalogue()) {
    int w = 0, h = 0;
    EXPECT_TRUE(*e.slot != 0 && platform::TextureSize(*e.slot, w, h) && w == 8 && h == 8) << e.path;
  }
  EXPECT_EQ(std::tuple(TileTextures[0], TileTextures[53], LoadingScreenOn, LoadCount, Stored()),
            std::tuple(0, 0, true, 160, "160"));
}

TEST_F(CatalogueLoad, MissingOrDamagedFilesLeaveTheirSlotsEmpty) {
  WriteFakeData();
  const fs::path app = root_ / "app";
  fs::remove(app / "textures/paused.dds");
  fs::remove(app / "fonts/blue.bmp");  // before the loading screen
  fs::resize_file(app / "textures/bonus/bomb.dds", 150);                   // truncated blocks
  std::ofstream(app / "textures/bonus/pie.bmp", std::ios::trunc) << "not a picture";
  std::ofstream(app / "textures/menu/title.dds", std::ios::trunc) << "DDS ";  // header cut off
  LoadAllTextures();
  EXPECT_EQ(std::tuple(TexPaused, TexFontBlue, TexBomb, TexPie, TexTitle), std::tuple(0, 0, 0, 0, 0));
  // Their neighbours (Boot is the next file after the damaged bomb) still load.
  EXPECT_TRUE(TexFontDefaultNum != 0 && TexBoot != 0 && TexRestart != 0);
  EXPECT_EQ(LoadCount, 160);  // the progress still advances past failures
}

TEST_F(CatalogueLoad, PicturesClaimingHugeSizesAreNeverDecoded) {
  // A 118-byte BMP claiming 30000 x 30000 used to take gigabytes: the header
  // is read first and more than 8192 pixels a side leaves the slot empty.
  std::string bmp = test::ReadText(FixturePath("key_left.bmp")), jpg = test::ReadText(FixturePath("tiny.jpg"));
  const std::size_t frame = jpg.find("\xFF\xC0");  // height and width follow at +5 and +7
  for (const unsigned side : {8192u, 8193u, 30000u, 65500u}) {
    for (std::size_t i = 0; i < 4; ++i) bmp[18 + i] = bmp[22 + i] = static_cast<char>(side >> (8 * i));
    for (std::size_t i = 0; i < 4; ++i) jpg[frame + 5 + i] = static_cast<char>(side >> (i % 2 ? 0 : 8));
    EXPECT_EQ(PictureSizeAcceptable(bmp), side <= 8192u) << side;
    EXPECT_EQ(PictureSizeAcceptable(jpg), side <= 8192u) << side;
  }
  for (const auto& [name, bytes] : {std::pair{"huge.bmp", bmp}, std::pair{"huge.jpg", jpg}}) {
    test::WriteText((root_ / name).string(), bytes);
    EXPECT_EQ(CreateTextureFromFile((root_ / name).string(), 0), 0) << name;
  }
}

TEST_F(CatalogueLoad, ColourKeyClearsMagentaOnly) {
  const Texture keyed = CreateTextureFromFile(FixturePath("key_left.bmp"), kMagentaKey);
  ASSERT_NE(keyed, 0);
  FillCanvas(0xFF204060u);
  DrawSprite(keyed, 0, 0, 8, 8, 0, 100, 0, 0);
  // Magenta cleared (the canvas shows through), white kept.
  test::ExpectPixels(test::CanvasShot(), {{1, 1, 0xFF204060u}, {6, 1, 0xFFFFFFFFu}});
  EXPECT_EQ(CreateTextureFromFile((root_ / "nothing.dds").string(), 0), 0);
}

TEST_F(CatalogueLoad, SoundNamesAreRegistered) {
  LoadSounds();
  std::set<std::string> names;
  for (const auto& s : SoundCatalogue) EXPECT_TRUE(names.insert(s.name).second && platform::SoundEngine::IsRegistered(s.name)) << s.name;
  EXPECT_EQ(names.size(), 29u);
  EXPECT_FALSE(platform::SoundEngine::IsRegistered("explode7"));
}

// ---- The loading screen ----------------------------------------------------

class LoadingScreen : public CatalogueLoad {
 protected:
  void SetUp() override {
    CatalogueLoad::SetUp();
    if (HasFatalFailure()) return;
    std::vector<std::uint32_t> black(640 * 480, 0xFF000000u), white(128 * 32, 0xFFFFFFFFu);
    TexLogo = platform::CreateTexture(640, 480, black.data(), true);
    TexLogoLoading = platform::CreateTexture(128, 32, white.data(), true);
  }
  // A fresh program start: the progress state back to its initial values.
  void NewStart() {
    LoadCount = LoadTotal = LoadPercent = 0;
    LogoFade = 0;
    LoadingScreenOn = true;
  }
  // Brightness of the loading label on the canvas (0 = invisible, 255 = full).
  static int Label() { return test::Channel(test::CanvasPixel(10, 460), 0); }
};

TEST_F(LoadingScreen, StoresTheTotalAndFadesTheLabelOnlyAtTheEnd) {
  NewStart();  // first start: no total yet, the count is stored once loaded
  for (int i = 0; i < 160; ++i) ShowLoadingProgress();
  EXPECT_EQ(Stored(), "160");
  NewStart();  // second start: the label holds at 80 % and fades only at the last step
  for (int i = 1; i <= 159; ++i) {
    ShowLoadingProgress();
    if (i == 128) { EXPECT_EQ(std::tuple(LoadPercent, Label()), std::tuple(80, 255)); }
  }
  EXPECT_EQ(std::tuple(LoadTotal, LogoFade, Label() > 0), std::tuple(160, 0, true));
  ShowLoadingProgress();
  EXPECT_EQ(std::tuple(LoadPercent, Label(), LogoFade, Stored()), std::tuple(100, 0, 100, "160"));
}

TEST_F(LoadingScreen, UnusableStoredTotalCountsAsNone) {
  for (const char* stored : {"", "many", "40000"}) {
    SCOPED_TRACE(stored);
    config::SaveSetting(config::AppName(), "Loading", "MaxStrings", stored);
    NewStart();
    ShowLoadingProgress();
    EXPECT_EQ(std::tuple(LoadTotal, LoadPercent, Stored()), std::tuple(0, 0, "1"));
  }
}

}  // namespace
}  // namespace tw::render
