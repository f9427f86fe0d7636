// The texture and sound catalogue: every picture and sound, loaded once at
// start-up behind the loading screen. Each texture slot is a module global
// named after its file; an empty slot (0) draws nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/numeric.h"
#include "render/draw.h"

namespace tw::render {

// Colour key of the pictures whose magenta texels are transparent.
inline constexpr std::uint32_t kMagentaKey = 0xFF00FF;

// ---- Texture slots, in catalogue order -------------------------------------
// Bitmap-font sheets.
extern Texture TexFontBlue, TexFontDefaultNum;
// Loading screen: the full-screen picture and the small "LOADING" label.
extern Texture TexLogo, TexLogoLoading;
// Tiles and walls, indexed by the tile grid's cell value (0 and 53 stay empty).
inline constexpr int kTileSlots = 63;
extern std::array<Texture, kTileSlots> TileTextures;
// Level banner: the caption and the numbers 0..11.
extern Texture TexLevelText;
extern std::array<Texture, 12> LevelNumTextures;
extern Texture TexPaused;
// Bonuses.
extern Texture TexBonusSelection, TexBomb, TexPie, TexBoot, TexBombGlass, TexBigEars;
// Game screen.
extern Texture TexSidebar, TexSidebarH, TexDebugWindow, TexBoloBlue, TexBoloEyes;
extern Texture TexBackgroundSky, TexBackgroundLightBlue, TexBackgroundBlack, TexBackgroundRed;
extern Texture TexSharp, TexClouds, TexTileWallGround, TexExplosion, TexTextBoom;
extern Texture TexArrow, TexWdWow, TexParticles, TexWeightIcon;
// Menu.
extern Texture TexLoad1, TexTitle;
extern std::array<Texture, 5> ButterflyTextures;
extern Texture TexStory, TexStory2;
extern Texture TexBNewGame, TexBHighScores, TexBStory, TexBOptions, TexBHowToPlay, TexBCredits,
    TexBExit, TexBBack, TexBNext;
// Credits: captions, contributor pictures and the maker's logo.
extern Texture TexCContributor01, TexCContributor02, TexCContributor03, TexCContributor04,
    TexCContributor05, TexCContributor06, TexCContributor07, TexCContributor08, TexCContributor09,
    TexCContributor10, TexCContributor11;
extern Texture TexCCopyright, TexCTumblewell, TexCGraphics, TexCProgramming, TexCSoundAndMusic,
    TexCThanksTo, TexLogoKelvo;
extern Texture TexHowToPlay, TexSTitle, TexSYourNamePlease;
// Options screen: labels, selected labels, value pictures (normal / selected)
// and the two notes.
extern Texture TexOGameMode, TexOFullScreen, TexODetails, TexOSound;
extern Texture TexOSGameMode, TexOSFullScreen, TexOSDetails, TexOSSound;
extern Texture TexOSOn, TexOSSOn, TexOSOff, TexOSSOff, TexOSHigh, TexOSSHigh, TexOSLow, TexOSSLow,
    TexOSArcade, TexOSSArcade, TexOSStory, TexOSSStory;
extern Texture TexUnlock, TexRestart;
// The won-game picture, loaded when a game is won (not part of the start-up load).
extern Texture WonImage;

// One row of the texture catalogue: a path relative to the application
// directory (as the game writes it), the colour key, the slot it fills.
struct TextureEntry {
  std::string path;
  std::uint32_t key = 0;
  Texture* slot = nullptr;
};
// The whole catalogue in load order: the fonts and the two loading-screen
// pictures first, then everything loaded with the loading screen on.
const std::vector<TextureEntry>& TextureCatalogue();
// How many entries load before the loading screen is switched on.
inline constexpr std::size_t kPreloadEntries = 4;

struct SoundEntry {
  const char* name;
  const char* file;  // relative to the application directory
};
inline constexpr int kSoundCount = 29;
extern const std::array<SoundEntry, kSoundCount> SoundCatalogue;
inline constexpr const char* kMenuMusicFile = "music\\music_menu.wma";
inline constexpr const char* kGameMusicFile = "music\\music_game.wma";

// ---- Loading progress -------------------------------------------------------
extern Integer LoadCount;         // textures loaded with the loading screen on
extern Integer LoadTotal;         // expected count, from the settings store
extern Integer LoadPercent;
extern bool LoadingScreenOn;
extern Single LogoFade;           // 100 once loading reaches 100 %; the menu fades from there

// A texture from a file: DDS through our own reader, anything else (BMP, JPG,
// PNG) through the platform. With a colour key, texels of exactly that colour
// become transparent black and the texture samples with point filtering.
// 0 when the file is missing, unreadable or damaged.
Texture CreateTextureFromFile(const std::string& path, std::uint32_t key);
// Loads `path` into `slot` and runs one loading-screen step. On failure the
// slot keeps what it held (empty at start-up).
void LoadTexture(Texture& slot, const std::string& path, std::uint32_t key);
// Every picture, in catalogue order, switching the loading screen on after
// the first four.
void LoadAllTextures();
// One step of the loading screen: count, store the count as next start's
// total, draw the picture with the label fading over the last fifth, present.
void ShowLoadingProgress();
// Sound names and the two music tracks.
void LoadSounds();
// Empties every texture slot (shut-down).
void ReleaseAllTextures();

}  // namespace tw::render
