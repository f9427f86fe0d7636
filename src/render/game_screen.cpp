#include "render/game_screen.h"
#include "render/menu_background.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string_view>
#include <utility>

#include "config/options.h"
#include "config/tuning.h"
#include "core/game_state.h"
#include "world/level_scroll.h"
#include "render/bitmap_font.h"
#include "render/catalogue.h"
#include "render/debug_overlay.h"
#include "render/device.h"
#include "render/draw.h"
#include "world/bonuses.h"
#include "world/drills_water.h"
#include "world/effects.h"
#include "world/grid.h"
#include "world/looks.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_dynamics.h"

namespace tw::render {

namespace {

using world::Looks;

constexpr Single kLeft = static_cast<Single>(world::GridLeft);

void White() { SetDrawColor(255, 255, 255); }

Texture TileTexture(Integer value, bool grey, bool greyGlass) {
  const int slot = TileTextureSlot(value, grey, greyGlass);
  return slot > 0 ? TileTextures[static_cast<std::size_t>(slot)] : Texture{0};
}

using world::TopRow;

// ---- 1, 2: sky and clouds ---------------------------------------------------

void DrawSky() {
  const std::int32_t row = TopRow();
  long t = 0;
  if (config::MapHeight > 0.0f) {
    t = num::FloorToLong(255.0 / (2.0 * static_cast<double>(config::MapHeight)) * row);
  }
  if (t < 0) t = 0;
  if (t > 255) t = 255;
  SetDrawColor(255, static_cast<Integer>(255 - t), static_cast<Integer>(255 - t));
  DrawSprite(TexBackgroundSky, 0, 0, 1, 1, 0, 100, 640, 480);
}

void DrawClouds() {
  // Still in the sky's colour, so the clouds redden with it. An inactive
  // cloud always lies off the canvas (or has no size yet), so it is skipped.
  const world::Cloud& a = world::Clouds[0];
  const world::Cloud& b = world::Clouds[1];
  if (a.Active) DrawSpriteRegion(TexClouds, a.X, a.Y, a.Width, a.Height, 0, 0, 0, 100, 0, 0);
  if (b.Active) DrawSpriteRegion(TexClouds, b.X, b.Y, b.Width, b.Height - 2.0f, 0, 95, 0, 100, 0, 0);
  White();
}

// ---- 3: tiles ---------------------------------------------------------------------

void DrawTiles() {
  const bool story = config::GameOptions.GameMode_Story;
  const std::int32_t top = TopRow();
  for (std::int32_t row = top; row <= top + 15; ++row) {
    if (static_cast<Single>(row) > config::MapHeight) break;
    for (int col = 0; col <= 14; ++col) {
      const Single c = static_cast<Single>(col);
      const Single r = static_cast<Single>(row);
      const Integer v = world::TileAt(c, r);
      if (v == world::kEmpty) continue;
      const bool touched = world::TileGrid.Touched[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
      const Single x = kLeft + static_cast<Single>(col * 32);
      const Single y = static_cast<Single>(row * 32) + core::ScrollY;
      if (v == world::kGlass) {
        // Glass is drawn almost transparent.
        DrawSprite(TileTexture(v, false, !touched && story), x, y, 32, 32, 0, 20, 0, 0);
      } else {
        DrawSprite(TileTexture(v, !touched, false), x, y, 32, 32, 0, 100, 0, 0);
      }
    }
  }
}

// ---- 4: the creature ----------------------------------------------------------

// An ear from the eye sheet, turned by `angle` about its root (the corner of
// its square nearest the head), with the root placed at (rootX, rootY).
void DrawEar(Single rootX, Single rootY, int srcTop, bool rootOnRight, Single angle, Integer alpha) {
  const double a = static_cast<double>(angle) * 3.14159265358979323846 / 180.0;
  // The root relative to the square's centre, turned the way the sprite turns
  // (anticlockwise on the canvas for positive angles).
  const double vx = rootOnRight ? 8.0 : -8.0, vy = 8.0;
  const double rx = vx * std::cos(a) + vy * std::sin(a);
  const double ry = -vx * std::sin(a) + vy * std::cos(a);
  const Single left = static_cast<Single>(static_cast<double>(rootX) - rx - 8.0);
  const Single top = static_cast<Single>(static_cast<double>(rootY) - ry - 8.0);
  DrawSpriteRegion(TexBoloEyes, left, top, 16, 16, 16, static_cast<Single>(srcTop), angle, alpha, 0, 0);
}

void DrawCreatureAt(Single worldX, Single canvasY, Integer alpha) {
  const world::LooksState& s = Looks;
  const Single x = kLeft + worldX;
  const Single y = canvasY;
  DrawSprite(TexBoloBlue, x, y, 32, 32, s.Wobble, alpha, 0, 0);
  const Integer tint = num::CInt(255.0 - static_cast<double>(s.Squint));
  SetDrawColor(255, tint, tint);
  DrawSpriteRegion(TexBoloEyes, x + 9, y + 6, 14, 16, 0, 0, 0, alpha, 0, 0);
  DrawSpriteRegion(TexBoloEyes, x + 10, y + 11 + s.EyeOffset, 12, 7, 1, 19, 0, alpha, 0, 0);
  White();
  if (world::EarsOn()) {
    // The sheet's lower ear leans left and sits on the left of the head, the
    // upper one on the right; both bases rest on the rim of the head and the
    // ears flap outwards together, mirror images of each other.
    const Single flap = 10.0f * world::Player.SwooshTimer;
    DrawEar(x + 14, y + 10, 16, true, flap, alpha);
    DrawEar(x + 18, y + 10, 0, false, -flap, alpha);
  }
}

void DrawCreature() {
  const world::LooksState& s = Looks;
  DrawCreatureAt(s.TrailX[2], s.TrailY[2], 10);
  DrawCreatureAt(s.TrailX[1], s.TrailY[1], 20);
  DrawCreatureAt(s.TrailX[0], s.TrailY[0], 100);
}

// ---- 5, 6: falling tiles and smash debris ----------------------------------------

void DrawFallingTiles() {
  for (std::size_t i = 0; i < world::FallingTiles.size(); ++i) {
    const world::FallingTile& t = world::FallingTiles[i];
    if (!Looks.FallingShown[i]) continue;
    const Single angle = Looks.FallingAngle[i];
    const Integer v = num::CInt(static_cast<double>(t.TileType));
    const bool grey = !t.Touched;
    const Texture tex = TileTexture(v, v != world::kGlass && grey,
                                    v == world::kGlass && grey && config::GameOptions.GameMode_Story);
    DrawSprite(tex, kLeft + t.X, t.Y + core::ScrollY, 32, 32, angle, 60, 0, 0);
  }
}

void DrawSmashDebris() {
  const bool story = config::GameOptions.GameMode_Story;
  const Integer distance = config::Tuning.Smashing_Explosion_Distance;
  for (std::size_t i = 0; i < world::SmashDebrisList.size(); ++i) {
    const world::SmashDebris& d = world::SmashDebrisList[i];
    if (!Looks.DebrisShown[i]) continue;
    const Integer alpha =
        distance > 0 ? num::CInt(100.0 - 100.0 / distance * static_cast<double>(d.Age)) : Integer{100};
    const Single angle = Looks.DebrisAngle[i];
    const Integer v = num::CInt(static_cast<double>(d.TileType));
    const bool grey = !d.Touched && story;
    const Texture tex = TileTexture(v, grey, grey);
    const Single spread = 2.0f * d.Age;
    const Single left = kLeft + d.X - spread;
    const Single right = kLeft + d.X + 16.0f + spread;
    const Single upper = d.Y + core::ScrollY - spread;
    const Single lower = d.Y + core::ScrollY + 16.0f + spread;
    const Single quarters[4][4] = {{left, upper, 0, 0}, {right, upper, 16, 0}, {left, lower, 0, 16}, {right, lower, 16, 16}};
    for (const auto& q : quarters) DrawSpriteRegion(tex, q[0], q[1], 16, 16, q[2], q[3], angle, alpha, 0, 0);
  }
}

// ---- 7: bonuses, explosions, particles --------------------------------------------

Texture BonusTexture(const world::Bonus& b) {
  if (b.Type == "bomb") return TexBomb;
  if (b.Type == "pie") return TexPie;
  if (b.Type == "boot") return TexBoot;
  if (b.Type == "bombglass") return TexBombGlass;
  if (b.Type == "ears") return TexBigEars;
  return 0;
}

void DrawBonusSelection(const world::Bonus& b) {
  const Single size = static_cast<Single>(b.SelectionAlpha) * 32.0f / 100.0f;
  if (size < 1.0f) return;  // a zero size would mean the picture's own size
  const Single offset = static_cast<Single>(16 - num::CLng(static_cast<double>(size)) / 2);
  DrawSprite(TexBonusSelection, b.X + kLeft + offset, b.Y + core::ScrollY + offset, 32, 32, world::BonusSpin,
             50, size, size);
}

void DrawBonusItem(const world::Bonus& b) {
  DrawSprite(BonusTexture(b), b.X + kLeft, b.Y + core::ScrollY, 32, 32, world::BonusSpin, 100, 0, 0);
}

// In index order, each halo before its item.
void DrawBonuses() {
  const Single top = -core::ScrollY;
  const Single bottom = 480.0f - core::ScrollY;
  for (std::size_t k = 1; k < world::Bonuses.size(); ++k) {
    const world::Bonus& b = world::Bonuses[k];
    if (b.SelectionAlpha > 0 && b.Y < bottom) DrawBonusSelection(b);
    if (b.Active && b.Y + 32.0f > top && b.Y < bottom) DrawBonusItem(b);
  }
}

void DrawExplosion(const world::ExplosionEffect& e) {
  if (!e.Active) return;
  DrawSprite(TexExplosion, kLeft + e.X, e.Y, 134, 128, e.FlashAngle, e.Alpha, 0, 0);
  if (e.BoomX != 0.0f) DrawSprite(TexTextBoom, kLeft + e.BoomX, e.BoomY, 64, 19, e.BoomAngle, e.Alpha, 0, 0);
}

void DrawParticle(const world::Particle& p) {
  if (p.Life < 1) return;
  const Integer alpha = world::ParticleAlpha(p);
  auto fleck = [&] { DrawSpriteRegion(TexParticles, p.X, p.Y, 32, 32, 32, 0, p.Angle, alpha, 32, 16); };
  switch (p.Kind) {
    case world::kParticleDust:
      DrawSprite(TexParticles, p.X, p.Y, 32, 32, p.Angle, alpha, 0, 0);
      break;
    case world::kParticleMud:
      SetDrawColor(14, 90, 157);
      fleck();
      break;
    case world::kParticleIce:
      fleck();
      break;
    case world::kParticleGum:
      SetDrawColor(100, 100, 100);
      fleck();
      break;
    case world::kParticleStreak:
      SetDrawColor(170, 248, 255);
      DrawSprite(TexParticles, p.X, p.Y, 32, 32, p.Angle, alpha, 0, 0);
      SetDrawColor(14, 90, 157);  // the fleck as for mud, in mud's tint
      fleck();
      break;
    default:
      break;
  }
  White();
}

// ---- 8, 9: drills and water ---------------------------------------------------

void DrawDrills() {
  const std::int32_t shaft = num::CLng(static_cast<double>(world::DrillY) + 32.0) / 32;
  for (int col = 1; col <= 13; ++col) {
    const Single x = kLeft + static_cast<Single>(col * 32);
    DrawSprite(TexSharp, x, world::DrillY, 32, 32, Looks.DrillAngle[static_cast<std::size_t>(col - 1)], 100, 0, 0);
    // Sixteen blocks reach the canvas top from the drills' lowest place (484,
    // the end-of-game descent); the cap only guards a wild starting height.
    for (std::int32_t k = 1; k <= shaft && k <= 16; ++k) {
      DrawSprite(TileTextures[51], x, world::DrillY - static_cast<Single>(k * 32) + 3.0f, 32, 32, 0, 100, 0, 0);
    }
  }
}

void DrawWater() {
  if (!Looks.WaterShown) return;
  SetDrawColor(100, 100, 255);
  for (int strip = 0; strip < world::kWaterStrips; ++strip) {
    const world::WaterStrip& w = Looks.Water[static_cast<std::size_t>(strip)];
    // With the water line below the canvas the strip has no height to draw.
    if (w.height <= 0.0f) continue;
    const Single left = static_cast<Single>(31 + 2 * strip) + kLeft;
    DrawSprite(TexBackgroundSky, left, w.top, 1, 1, 0, 50, 2, w.height);
    if (w.foamOn) DrawSprite(TexBackgroundSky, left, w.foam, 1, 1, 0, 50, 2, w.height);
  }
  White();
}

// ---- 10: popups, arrows, timers -------------------------------------------------

void DrawPopups() {
  if (core::CurrentLevel < 1) return;
  for (std::size_t i = 1; i < world::ScorePopups.size(); ++i) {
    const world::ScorePopup& p = world::ScorePopups[i];
    if (p.Active) DrawBitmapText(p.Text, p.X, p.Y, TexFontDefaultNum, 1.0f / 2.4f, 0, p.Alpha, 200, 255, 200);
  }
}

void DrawArrows() {
  if (core::GameOver || !Looks.ArrowHintsOn) return;
  const std::int32_t scrolled = num::CLng(-static_cast<double>(core::ScrollY));
  const std::int32_t top = scrolled / 32;
  const std::int32_t d = scrolled - top * 32;
  const Integer alpha = d < 16 ? num::CInt(100.0 / 16.0 * d) : num::CInt(100.0 - 100.0 / 16.0 * (d - 16));
  for (int col = 1; col <= 13; ++col) {
    if (world::TileAt(static_cast<Single>(col), static_cast<Single>(top + 18)) > 0) {
      DrawSprite(TexArrow, kLeft + static_cast<Single>(col * 32), 448, 32, 32, 0, alpha, 0, 0);
    }
  }
}

// ---- 11, 12: level banner, name entry ----------------------------------------------

void DrawLevelBanner() {
  const world::LooksState& s = Looks;
  if (!s.BannerShown) return;
  DrawSprite(TexLevelText, 128, 360, 256, 128, 0, s.BannerAlpha, 256, 128);
  if (s.ShownLevel >= 0 && s.ShownLevel < static_cast<Integer>(LevelNumTextures.size())) {
    DrawSprite(LevelNumTextures[static_cast<std::size_t>(s.ShownLevel)], 368, 360, 128, 128, 0, s.BannerAlpha, 128,
               128);
  }
}

bool AskingForName() {
  // Between the end of the game and the player's confirmation; a played-back
  // game never asks.
  return core::GameOver && world::EndFade == 0.0f && !core::ReplayPlayback &&
         !(world::Score < static_cast<Single>(config::HighScores[9].Score));
}

void DrawNameEntry() {
  if (!AskingForName()) return;
  constexpr Single kTwoThirds = 2.0f / 3.0f;
  DrawSprite(TexSTitle, 150, 160, 512, 64, 0, 100, 512 * kTwoThirds, 64 * kTwoThirds);
  if (core::TestKeysUsed) {
    // The test keys changed this game: say why no name is asked for.
    for (const auto& [text, y] : {std::pair{"TEST KEYS USED", 240.0f}, std::pair{"NO HIGH SCORE", 300.0f}}) {
      const Single x = 320.0f - static_cast<Single>(std::string_view(text).size()) * static_cast<Single>(Glyphs.width) / 2.0f;
      DrawBitmapText(text, x, y, TexFontBlue, 1, 0, 100, 255, 255, 255);
    }
    return;
  }
  DrawSprite(TexSYourNamePlease, 147, 300, 512, 64, 0, 100, 512 * kTwoThirds, 64 * kTwoThirds);
  // Centred under the title; one glyph per character.
  std::size_t chars = 0;
  for (unsigned char ch : world::TypedName) chars += (ch & 0xC0) != 0x80 ? 1 : 0;
  const Single x = 320.0f - static_cast<Single>(chars) * static_cast<Single>(Glyphs.width) / 2.0f;
  DrawBitmapText(world::TypedName, x, 240, TexFontBlue, 1, 0, 100, 255, 255, 255);
}

// ---- 13: margins -------------------------------------------------------------------

void DrawBombColumn() {
  const long held = num::FloorToLong(static_cast<double>(world::Bombs));
  // Two columns of fifteen are all the margin shows.
  for (long n = 0; n < held && n < 30; ++n) {
    const Single x = n < 15 ? 608.0f : 576.0f;
    const Single y = static_cast<Single>(32 * (n % 15));
    DrawSprite(TexBonusSelection, x, y, 32, 32, world::BonusSpin, 40, 0, 0);
    DrawSprite(TexBomb, x, y, 32, 32, 0, 95, 0, 0);
    DrawSprite(TexBonusSelection, x, y, 32, 32, -world::BonusSpin, 10, 0, 0);
  }
}

void DrawTimer(Texture icon, Single x, Single spin, Single time) {
  DrawSprite(TexBonusSelection, x, 315, 32, 32, spin, 20, 0, 0);
  DrawSprite(icon, x, 315, 32, 32, 0, 100, 0, 0);
  const Single used = 128.0f - time / 10.0f;
  SetDrawColor(255, 55, 55);
  // A full timer leaves no red part; a zero or negative source size is not drawn.
  if (used > 0.0f) DrawSprite(TexSidebar, x, 347, 32, used, 0, 20, 0, 0);
  SetDrawColor(55, 255, 55);
  Single h = 0;
  Integer alpha = 10;
  if (time > 0.0f) {
    h = time / 10.0f;
    if (h > 128.0f) h = 128.0f;
    alpha = 80;
  }
  if (h > 0.0f) DrawSprite(TexSidebar, x, 475.0f - h, 32, h, 180, alpha, 0, 0);
  White();
}

void DrawWeight() {
  DrawSprite(TexBonusSelection, 25, 213, 32, 32, world::BonusSpin, 20, 0, 0);
  DrawSprite(TexWeightIcon, 25, 213, 32, 32, 0, 50, 0, 0);
  SetDrawColor(255, 55, 55);
  DrawSprite(TexSidebarH, 5, 247, 128, 32, 0, 20, 70, 32);
  SetDrawColor(55, 255, 55);
  Single w = (world::Player.Weight - 3.4f) * 10.0f;
  if (w > 70.0f) w = 70.0f;
  // No bar at all at or below the lightest weight (a zero width would mean
  // the picture's own width).
  if (w > 0.0f) DrawSprite(TexSidebarH, 5, 247, 128, 32, 0, 100, w, 32);
  White();
}

// ---- 14, 15: nearest high score, score ----------------------------------------------

void DrawNearest() {
  if (core::ReplayPlayback) return;
  int place = 1;
  for (int i = 9; i >= 0; --i) {
    if (static_cast<Single>(config::HighScores[static_cast<std::size_t>(i)].Score) > world::Score) {
      place = i + 1;
      break;
    }
  }
  char text[32];
  std::snprintf(text, sizeof text, "%d. %ld", place,
                static_cast<long>(config::HighScores[static_cast<std::size_t>(place - 1)].Score));
  DrawBitmapText("NEAREST", 2, 3, TexFontDefaultNum, 0.5f, 0, 97, 5, 5, 90);
  DrawBitmapText(text, 2, 13, TexFontDefaultNum, 0.4f, 0, 97, 5, 5, 95);
}

// "r,g,b" from the tuning file; a missing or malformed part stays 255.
void ScoreColour(Single& red, Single& green, Single& blue) {
  Single* parts[3] = {&red, &green, &blue};
  std::string_view rest = config::Tuning.Graphic_RGB;
  for (Single* part : parts) {
    *part = 255;
    const std::size_t comma = rest.find(',');
    if (auto v = num::ParseNumber(rest.substr(0, comma))) *part = static_cast<Single>(*v);
    if (comma == std::string_view::npos) {
      rest = {};
    } else {
      rest.remove_prefix(comma + 1);
    }
  }
}

void DrawScore() {
  const int digits = ScoreDigits(world::Score);
  if (config::Tuning.Graphic_BackLayer) {
    DrawSprite(TexBackgroundLightBlue, kLeft + 38, 10, 1, 1, 0, 55, static_cast<Single>(digits * 22), 22);
  }
  char text[24];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(num::FloorToLong(static_cast<double>(world::Score))));
  Single red = 255, green = 255, blue = 255;
  ScoreColour(red, green, blue);
  DrawBitmapText(text, kLeft + 38, 10, TexFontBlue, 1, 0, 95, red, green, blue);
}

// ---- 17-19: pause, fades -----------------------------------------------------------

// Local time of day, as the pause sign's sway follows the wall clock.
double SecondsSinceMidnight() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t whole = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  if (localtime_r(&whole, &local) == nullptr) return 0.0;
  const double fraction =
      std::chrono::duration<double>(now - std::chrono::system_clock::from_time_t(whole)).count();
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

void DrawPause() {
  const world::LooksState& s = Looks;
  if (!s.PauseShown) return;
  DrawSprite(TexBackgroundBlack, 0, 0, 1, 1, 0, static_cast<Integer>(s.PauseFade - 40), 640, 480);
  DrawSprite(TexPaused, 64, 200, 512, 128, static_cast<Single>(std::cos(SecondsSinceMidnight())),
             static_cast<Integer>(s.PauseFade - 10), 512, 128);
}

// Hand-back at the end of a game: the screen darkens, then the menu takes over.
void DrawHandBack() {
  if (Looks.HandBackShown) DrawMenuBackground(100 - world::EndFade);
}

}  // namespace

int TileTextureSlot(Integer value, bool grey, bool greyGlass) {
  if (value <= 0 || value >= static_cast<Integer>(kTileSlots)) return 0;
  if (value == world::kGlass) return greyGlass ? 60 : world::kGlass;
  if (grey) {
    switch (world::MaterialOf(value)) {
      case world::kMatNormal: return 56;
      case world::kMatMud: return 57;
      case world::kMatGum: return 58;
      case world::kMatIce: return 59;
      default: break;
    }
  }
  return value;
}

int ScoreDigits(Single score) {
  if (score < 10.0f) return 1;
  if (score < 100.0f) return 2;
  if (score < 1000.0f) return 3;
  if (score < 10000.0f) return 4;
  return 5;
}

void RenderGame(Single menuOverlay) {
  DrawSky();
  DrawClouds();
  DrawTiles();
  DrawCreature();
  DrawFallingTiles();
  DrawSmashDebris();
  DrawBonuses();
  for (const world::ExplosionEffect& e : world::ExplosionEffects) DrawExplosion(e);
  if (config::GameOptions.Details_High) {
    for (const world::Particle& p : world::Particles) DrawParticle(p);
  }
  DrawDrills();
  DrawWater();
  DrawPopups();
  DrawArrows();
  DrawLevelBanner();
  DrawNameEntry();
  DrawBombColumn();
  DrawTimer(TexBigEars, 43, world::BonusSpin, world::EarsTime);
  DrawTimer(TexBoot, 5, -world::BonusSpin, world::BootTime);
  DrawWeight();
  DrawNearest();
  DrawScore();
  DrawDebugWindow();
  DrawPause();
  if (menuOverlay >= 0.0f) DrawMenuBackground(menuOverlay);
  DrawHandBack();
  EndFrame();
}

}  // namespace tw::render
