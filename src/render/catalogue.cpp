#include "render/catalogue.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#include "audio/sound.h"
#include "config/settings_store.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/video.h"
#include "render/dds.h"
#include "render/picture_header.h"

namespace tw::render {

Texture TexFontBlue, TexFontDefaultNum;
Texture TexLogo, TexLogoLoading;
std::array<Texture, kTileSlots> TileTextures{};
Texture TexLevelText;
std::array<Texture, 12> LevelNumTextures{};
Texture TexPaused;
Texture TexBonusSelection, TexBomb, TexPie, TexBoot, TexBombGlass, TexBigEars;
Texture TexSidebar, TexSidebarH, TexDebugWindow, TexBoloBlue, TexBoloEyes;
Texture TexBackgroundSky, TexBackgroundLightBlue, TexBackgroundBlack, TexBackgroundRed;
Texture TexSharp, TexClouds, TexTileWallGround, TexExplosion, TexTextBoom;
Texture TexArrow, TexWdWow, TexParticles, TexWeightIcon;
Texture TexLoad1, TexTitle;
std::array<Texture, 5> ButterflyTextures{};
Texture TexStory, TexStory2;
Texture TexBNewGame, TexBHighScores, TexBStory, TexBOptions, TexBHowToPlay, TexBCredits, TexBExit,
    TexBBack, TexBNext;
Texture TexCContributor01, TexCContributor02, TexCContributor03, TexCContributor04,
    TexCContributor05, TexCContributor06, TexCContributor07, TexCContributor08, TexCContributor09,
    TexCContributor10, TexCContributor11;
Texture TexCCopyright, TexCTumblewell, TexCGraphics, TexCProgramming, TexCSoundAndMusic,
    TexCThanksTo, TexLogoKelvo;
Texture TexHowToPlay, TexSTitle, TexSYourNamePlease;
Texture TexOGameMode, TexOFullScreen, TexODetails, TexOSound;
Texture TexOSGameMode, TexOSFullScreen, TexOSDetails, TexOSSound;
Texture TexOSOn, TexOSSOn, TexOSOff, TexOSSOff, TexOSHigh, TexOSSHigh, TexOSLow, TexOSSLow,
    TexOSArcade, TexOSSArcade, TexOSStory, TexOSSStory;
Texture TexUnlock, TexRestart;
Texture WonImage;

Integer LoadCount = 0;
Integer LoadTotal = 0;
Integer LoadPercent = 0;
bool LoadingScreenOn = false;
Single LogoFade = 0;

const std::array<SoundEntry, kSoundCount> SoundCatalogue = {{
    {"menu1", "sfx\\menu_selection.wav"},
    {"menu2", "sfx\\menu_selection2.wav"},
    {"jump", "sfx\\jump.wav"},
    {"boing", "sfx\\boing.wav"},
    {"bonus", "sfx\\bonus.wav"},
    {"explode1", "sfx\\explode1.wav"},
    {"explode2", "sfx\\explode2.wav"},
    {"explode3", "sfx\\explode3.wav"},
    {"explode4", "sfx\\explode4.wav"},
    {"explode5", "sfx\\explode5.wav"},
    {"explode6", "sfx\\explode5.wav"},
    {"waterhit1", "sfx\\waterhit1.wav"},
    {"waterhit2", "sfx\\waterhit2.wav"},
    {"waterhit3", "sfx\\waterhit3.wav"},
    {"waterhit4", "sfx\\waterhit4.wav"},
    {"waterhit5", "sfx\\waterhit5.wav"},
    {"breakglass1", "sfx\\break_glass.wav"},
    {"breakglass2", "sfx\\break_glass2.wav"},
    {"breakglass3", "sfx\\break_glass2.wav"},
    {"breakother1", "sfx\\tile_explo.wav"},
    {"breakother2", "sfx\\tile_explo.wav"},
    {"breakother3", "sfx\\tile_explo.wav"},
    {"tilepush", "sfx\\tile_push.wav"},
    {"fall1", "sfx\\fall1.wav"},
    {"nidle", "sfx\\nidle.wav"},
    {"swoosh", "sfx\\swoosh.wav"},
    {"done", "sfx\\done.wav"},
    {"walk", "sfx\\walk.wav"},
    {"key", "sfx\\key.wav"},
}};

namespace {

// One picture of the catalogue: its file, its colour key (0: none) and its slot.
struct Row {
  const char* path;
  std::uint32_t key;
  Texture* slot;
};

void AddRows(std::vector<TextureEntry>& t, std::initializer_list<Row> rows) {
  for (const Row& r : rows) t.push_back({r.path, r.key, r.slot});
}

std::vector<TextureEntry> BuildCatalogue() {
  constexpr std::uint32_t M = kMagentaKey;
  std::vector<TextureEntry> t;
  const std::string tiles = "\\textures\\level_tiles\\tile_ground_";
  const std::string menu = "\\textures\\menu\\";
  AddRows(t, {
      {"\\fonts\\blue.bmp", M, &TexFontBlue},
      {"\\fonts\\default_num.bmp", M, &TexFontDefaultNum},
      {"\\textures\\menu\\logo.jpg", 0, &TexLogo},
      {"\\textures\\menu\\logo_loading.dds", 0, &TexLogoLoading},
      {"\\textures\\level_tiles\\tile_ground_glass.bmp", M, &TileTextures[5]},
      {"\\textures\\level_tiles\\tile_ground_glass_bw.bmp", M, &TileTextures[60]},
      {"\\textures\\level_tiles\\tile_ground_stone.dds", 0, &TileTextures[6]},
  });
  static const char* const kColours[] = {"green",    "greendark", "blue",   "blue2", "bluedark",
                                         "bluelight", "brown",     "orange", "orangedark",
                                         "red",       "reddark",   "yellow", "bw"};
  static const char* const kForms[] = {"", "_mud", "_gum", "_ice"};
  for (std::size_t k = 0; k < std::size(kColours); ++k) {
    const std::size_t base = k == 0 ? 1 : (k == 12 ? 56 : 7 + 4 * (k - 1));
    for (std::size_t f = 0; f < 4; ++f) {
      t.push_back({tiles + kColours[k] + kForms[f] + ".dds", 0, &TileTextures[base + f]});
    }
  }
  AddRows(t, {
      {"\\textures\\level_text.dds", 0, &TexLevelText},
  });
  for (std::size_t n = 0; n < LevelNumTextures.size(); ++n) {
    t.push_back({"\\textures\\level_num_" + std::to_string(n) + ".dds", 0, &LevelNumTextures[n]});
  }
  AddRows(t, {
      {"\\textures\\paused.dds", 0, &TexPaused},
      {"\\textures\\tile_wall_bricks.bmp", 0, &TileTextures[51]},
      {"\\textures\\tile_wall_wood.bmp", 0, &TileTextures[52]},
      {"\\textures\\tile_wall_wood_bw.bmp", 0, &TileTextures[61]},
      {"\\textures\\tile_wall_bricks2.bmp", 0, &TileTextures[54]},
      {"\\textures\\tile_wall_bricks2_bw.bmp", 0, &TileTextures[62]},
      {"\\textures\\tile_wall_metal.dds", 0, &TileTextures[55]},
      {"\\textures\\bonus\\bonus_selection.dds", 0, &TexBonusSelection},
      {"\\textures\\bonus\\bomb.dds", 0, &TexBomb},
      {"\\textures\\bonus\\pie.bmp", M, &TexPie},
      {"\\textures\\bonus\\boot.dds", 0, &TexBoot},
      {"\\textures\\bonus\\bombglass.dds", 0, &TexBombGlass},
      {"\\textures\\bonus\\bigears.dds", 0, &TexBigEars},
      {"\\textures\\sidebar.dds", 0, &TexSidebar},
      {"\\textures\\sidebar_h.dds", 0, &TexSidebarH},
      {"\\textures\\debug_window.bmp", 0, &TexDebugWindow},
      {"\\textures\\bolo_blue.dds", 0, &TexBoloBlue},
      {"\\textures\\bolo_eyes.dds", 0, &TexBoloEyes},
      {"\\textures\\background_sky.bmp", 0, &TexBackgroundSky},
      {"\\textures\\background_lightblue.bmp", 0, &TexBackgroundLightBlue},
      {"\\textures\\background_black.bmp", 0, &TexBackgroundBlack},
      {"\\textures\\background_red.bmp", 0, &TexBackgroundRed},
      {"\\textures\\sharp.bmp", M, &TexSharp},
      {"\\textures\\clouds.bmp", M, &TexClouds},
      {"\\textures\\tile_wall_ground.bmp", 0, &TexTileWallGround},
      {"\\textures\\bonus\\explosion.dds", 0, &TexExplosion},
      {"\\textures\\bonus\\text_boom.bmp", M, &TexTextBoom},
      {"\\textures\\arrow.dds", 0, &TexArrow},
      {"\\wd_wow.jpg", 0, &TexWdWow},
      {"\\textures\\particles.png", 0, &TexParticles},
      {"\\textures\\weighticon.dds", 0, &TexWeightIcon},
      {"\\textures\\menu\\load1.jpg", 0, &TexLoad1},
      {"\\textures\\menu\\title.dds", 0, &TexTitle},
  });
  for (std::size_t n = 0; n < ButterflyTextures.size(); ++n) {
    t.push_back({menu + "butterfly" + std::to_string(n + 1) + ".dds", 0, &ButterflyTextures[n]});
  }
  AddRows(t, {
      {"\\textures\\menu\\story.dds", 0, &TexStory},
      {"\\textures\\menu\\story2.dds", 0, &TexStory2},
      {"\\textures\\menu\\b_newgame.dds", 0, &TexBNewGame},
      {"\\textures\\menu\\b_highscores.dds", 0, &TexBHighScores},
      {"\\textures\\menu\\b_story.dds", 0, &TexBStory},
      {"\\textures\\menu\\b_options.dds", 0, &TexBOptions},
      {"\\textures\\menu\\b_howtoplay.dds", 0, &TexBHowToPlay},
      {"\\textures\\menu\\b_credits.dds", 0, &TexBCredits},
      {"\\textures\\menu\\b_exit.dds", 0, &TexBExit},
      {"\\textures\\menu\\b_back.dds", 0, &TexBBack},
      {"\\textures\\menu\\b_next.dds", 0, &TexBNext},
      {"\\textures\\menu\\credits\\c_contributor11.dds", 0, &TexCContributor11},
      {"\\textures\\menu\\credits\\c_copyright.dds", 0, &TexCCopyright},
      {"\\textures\\menu\\credits\\c_contributor01.dds", 0, &TexCContributor01},
      {"\\textures\\menu\\credits\\c_contributor10.dds", 0, &TexCContributor10},
      {"\\textures\\menu\\credits\\c_contributor03.dds", 0, &TexCContributor03},
      {"\\textures\\menu\\credits\\c_contributor02.dds", 0, &TexCContributor02},
      {"\\textures\\menu\\credits\\c_contributor04.dds", 0, &TexCContributor04},
      {"\\textures\\menu\\credits\\c_tumblewell.dds", 0, &TexCTumblewell},
      {"\\textures\\menu\\credits\\c_contributor05.dds", 0, &TexCContributor05},
      {"\\textures\\menu\\credits\\c_graphics.dds", 0, &TexCGraphics},
      {"\\textures\\menu\\credits\\c_contributor06.dds", 0, &TexCContributor06},
      {"\\textures\\menu\\credits\\c_contributor07.dds", 0, &TexCContributor07},
      {"\\textures\\menu\\credits\\c_contributor08.dds", 0, &TexCContributor08},
      {"\\textures\\menu\\credits\\c_contributor09.dds", 0, &TexCContributor09},
      {"\\textures\\menu\\credits\\c_programming.dds", 0, &TexCProgramming},
      {"\\textures\\menu\\credits\\c_soundandmusic.dds", 0, &TexCSoundAndMusic},
      {"\\textures\\menu\\credits\\c_thanksto.dds", 0, &TexCThanksTo},
      {"\\textures\\menu\\credits\\logo_kelvo.dds", 0, &TexLogoKelvo},
      {"\\textures\\menu\\howtoplay.dds", 0, &TexHowToPlay},
      {"\\textures\\menu\\s_title.dds", 0, &TexSTitle},
      {"\\textures\\menu\\s_yournameplease.dds", 0, &TexSYourNamePlease},
      {"\\textures\\menu\\options\\o_gamemode.dds", 0, &TexOGameMode},
      {"\\textures\\menu\\options\\o_fullscreen.dds", 0, &TexOFullScreen},
      {"\\textures\\menu\\options\\o_details.dds", 0, &TexODetails},
      {"\\textures\\menu\\options\\o_sound.dds", 0, &TexOSound},
      {"\\textures\\menu\\options\\o_s_gamemode.dds", 0, &TexOSGameMode},
      {"\\textures\\menu\\options\\o_s_fullscreen.dds", 0, &TexOSFullScreen},
      {"\\textures\\menu\\options\\o_s_details.dds", 0, &TexOSDetails},
      {"\\textures\\menu\\options\\o_s_sound.dds", 0, &TexOSSound},
      {"\\textures\\menu\\options\\o_s_on.dds", 0, &TexOSOn},
      {"\\textures\\menu\\options\\o_ss_on.dds", 0, &TexOSSOn},
      {"\\textures\\menu\\options\\o_s_off.dds", 0, &TexOSOff},
      {"\\textures\\menu\\options\\o_ss_off.dds", 0, &TexOSSOff},
      {"\\textures\\menu\\options\\o_s_high.dds", 0, &TexOSHigh},
      {"\\textures\\menu\\options\\o_ss_high.dds", 0, &TexOSSHigh},
      {"\\textures\\menu\\options\\o_s_low.dds", 0, &TexOSLow},
      {"\\textures\\menu\\options\\o_ss_low.dds", 0, &TexOSSLow},
      {"\\textures\\menu\\options\\o_s_arcade.dds", 0, &TexOSArcade},
      {"\\textures\\menu\\options\\o_ss_arcade.dds", 0, &TexOSSArcade},
      {"\\textures\\menu\\options\\o_s_story.dds", 0, &TexOSStory},
      {"\\textures\\menu\\options\\o_ss_story.dds", 0, &TexOSSStory},
      {"\\textures\\menu\\options\\unlock.dds", 0, &TexUnlock},
      {"\\textures\\menu\\options\\restart.dds", 0, &TexRestart},
  });
  return t;
}

// While LoadAllTextures runs nothing else draws, so a step whose picture
// equals the one already on the canvas and on screen is neither drawn nor
// presented again: with a software renderer each full-screen draw and present
// costs milliseconds, and the label only changes over the last fifth.
bool g_bulk_loading = false;
int g_shown_label_alpha = -1;

// During the same run "MaxStrings" is kept in memory and written to the
// settings store once at the end: every store write is a synced file
// replacement, and 160 of them can take longer than the whole start-up
// should. Reads during the run see the value the steps wrote, so the counts
// come out exactly as with a write per step.
std::optional<std::string> g_max_strings;
bool g_max_strings_dirty = false;

std::string ReadMaxStrings() {
  if (g_bulk_loading && g_max_strings) return *g_max_strings;
  std::string value = config::GetSetting(config::AppName(), "Loading", "MaxStrings", "");
  if (g_bulk_loading) g_max_strings = value;
  return value;
}

void StoreMaxStrings(std::string value) {
  if (g_bulk_loading) {
    g_max_strings = std::move(value);
    g_max_strings_dirty = true;
    return;
  }
  config::SaveSetting(config::AppName(), "Loading", "MaxStrings", value);
}

}  // namespace

const std::vector<TextureEntry>& TextureCatalogue() {
  static const std::vector<TextureEntry> table = BuildCatalogue();
  return table;
}

Texture CreateTextureFromFile(const std::string& path, std::uint32_t key) {
  // Without a display no texture can be made: the picture is not even read.
  if (!platform::HasDisplay()) return 0;
  const bool point_filter = key != 0;
  const auto bytes = platform::ReadFile(path);
  if (!bytes) return 0;
  if (bytes->size() < 4 || bytes->compare(0, 4, "DDS ") != 0) {
    // Sized from the header first: a claimed 30000 x 30000 is never decoded.
    if (!PictureSizeAcceptable(*bytes)) return 0;
    return platform::LoadImageTexture(*bytes, key != 0, key, point_filter);
  }
  DdsImage image;
  if (!DecodeDds(*bytes, image)) return 0;
  if (key != 0) {
    for (auto& texel : image.argb) {
      if ((texel & 0x00FFFFFFu) == (key & 0x00FFFFFFu)) texel = 0;
    }
  }
  return platform::CreateTexture(image.width, image.height, image.argb.data(), point_filter);
}

void LoadTexture(Texture& slot, const std::string& path, std::uint32_t key) {
  const Texture loaded = CreateTextureFromFile(path, key);
  if (loaded != 0) {
    if (slot != 0) platform::DestroyTexture(slot);
    slot = loaded;
  }
  ShowLoadingProgress();
}

void LoadAllTextures() {
  const auto& table = TextureCatalogue();
  g_bulk_loading = true;
  g_shown_label_alpha = -1;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i == kPreloadEntries) LoadingScreenOn = true;
    LoadTexture(*table[i].slot, platform::AppPath(table[i].path), table[i].key);
  }
  g_bulk_loading = false;
  if (g_max_strings_dirty) StoreMaxStrings(*g_max_strings);
  g_max_strings.reset();
  g_max_strings_dirty = false;
}

void ShowLoadingProgress() {
  if (!LoadingScreenOn) return;
  if (LoadTotal == 0) {
    // An empty, malformed or out-of-range stored total leaves it 0.
    const std::string stored = ReadMaxStrings();
    if (const auto n = num::ParseNumber(stored)) LoadTotal = num::CIntChecked(*n).value_or(0);
    StoreMaxStrings("0");
  }
  if (LoadCount < 32767) ++LoadCount;
  StoreMaxStrings(std::to_string(LoadCount));
  if (LoadTotal != 0) {
    // Kept as the game does it: the stored total is last start's count, so a
    // start that loads more (after a win) simply ends below 100 %.
    if (const auto p = num::CIntChecked(100.0 / LoadTotal * LoadCount)) LoadPercent = *p;
  }

  if (LoadPercent > 100) LoadPercent = 100;
  const Integer label_alpha =
      LoadPercent <= 80 ? Integer{100} : num::CInt(100.0 - 100.0 / 20.0 * (LoadPercent - 80));
  const bool redraw = !g_bulk_loading || label_alpha != g_shown_label_alpha;
  if (redraw) {
    SetDrawColor(255, 255, 255);
    DrawSprite(TexLogo, 0, 0, 640, 480, 0, 100, 0, 0);
    DrawSprite(TexLogoLoading, 0, 448, 128, 32, 0, label_alpha, 0, 0);
  }
  if (LoadPercent >= 100) {
    platform::WarpCursor(800, 600);
    platform::SleepMicroseconds(1000);
    LogoFade = 100;
  }
  if (redraw) {
    platform::Present();
    g_shown_label_alpha = label_alpha;
  }
}

void LoadSounds() {
  for (const auto& s : SoundCatalogue) platform::SoundEngine::Load(s.file, s.name);
  audio::MenuTrack().Open(kMenuMusicFile);
  audio::GameTrack().Open(kGameMusicFile);
}

void ReleaseAllTextures() {
  for (const auto& e : TextureCatalogue()) {
    if (*e.slot != 0) platform::DestroyTexture(*e.slot);
    *e.slot = 0;
  }
  if (WonImage != 0) platform::DestroyTexture(WonImage);
  WonImage = 0;
}

}  // namespace tw::render
