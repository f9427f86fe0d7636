#include "frontend/menu_screens.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "config/options.h"
#include "core/game_state.h"
#include "frontend/end_of_game.h"
#include "frontend/menu.h"
#include "render/bitmap_font.h"
#include "render/catalogue.h"
#include "render/device.h"
#include "render/draw.h"
#include "render/menu_background.h"
#include "replay/replay.h"
#include "world/player.h"
#include "core/random.h"

namespace tw::frontend {

std::array<ButtonAnim, 8> MenuButtonAnim{};
std::array<CreditRowState, kCreditRows> CreditRows{};
std::array<Butterfly, kButterflies> Butterflies{};

namespace {

// Every menu picture of 256 x 64 texels is drawn at 204.8 x 51.2.
constexpr Single kButtonWidth = 2048.0f / 10.0f;
constexpr Single kButtonHeight = 512.0f / 10.0f;

Integer Pct(double alpha) { return num::CInt(alpha); }

void Sprite(render::Texture tex, double x, double y, double srcW, double srcH, double angle,
            double alpha, double dstW, double dstH) {
  render::DrawSprite(tex, static_cast<Single>(x), static_cast<Single>(y), static_cast<Single>(srcW),
                     static_cast<Single>(srcH), static_cast<Single>(angle), Pct(alpha),
                     static_cast<Single>(dstW), static_cast<Single>(dstH));
}

void Text(std::string_view text, Single x, Single y, render::Texture font, Single scale, double alpha,
          Single r, Single g, Single b) {
  render::DrawBitmapText(text, x, y, font, scale, 0, Pct(alpha), r, g, b);
}

double SecondsSinceMidnight() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::fmod(std::chrono::duration<double>(now).count(), 86400.0);
}

// The wobble takes the sine of the phase (radians) as an angle in degrees.
Single Wobble(Single phase) { return static_cast<Single>(std::sin(static_cast<double>(phase))); }

// ---- Main menu --------------------------------------------------------------

struct MainButton {
  render::Texture* picture;
  Single y;
};
const std::array<MainButton, 8>& MainButtons() {
  static const std::array<MainButton, 8> buttons = {{{nullptr, 0},
                                                     {&render::TexBNewGame, 157},
                                                     {&render::TexBHighScores, 200},
                                                     {&render::TexBStory, 243},
                                                     {&render::TexBOptions, 286},
                                                     {&render::TexBCredits, 329},
                                                     {&render::TexBHowToPlay, 372},
                                                     {&render::TexBExit, 415}}};
  return buttons;
}

void DrawMainButtons() {
  for (std::size_t i = 1; i <= 7; ++i) {
    const ButtonAnim& b = MenuButtonAnim[i];
    const double a = static_cast<double>(b.Alpha) - 65.0;
    Sprite(*MainButtons()[i].picture, 220.0 - a / 2.0, MainButtons()[i].y, 256, 64, Wobble(b.Phase),
           static_cast<double>(b.Alpha) - (100.0 - static_cast<double>(MenuFade)),
           static_cast<double>(kButtonWidth) + a, kButtonHeight);
  }
}

void DrawStatusLine() {
  const render::Texture font = render::TexFontDefaultNum;
  const Single third = 1.0f / 3.0f;
  const bool playback = core::ReplayPlayback;
  const bool record = replay::ReplayRecord;
  if (playback || record) {
    const char* first = (playback && !record) ? "LOADING REPLAY" : "SAVING MAP TO REPLAY FILE";
    Text(first, 2, 2, font, third, 100, 255, 155, 155);
    Text("PLEASE WAIT", 2, 12, font, third, 100, 255, 155, 155);
    return;
  }
  // The idle-replay countdown: invisible right after a key, fully visible
  // when the idle replay starts; not shown at all when there is no replay.
  if (!IdleReplayAvailable()) return;
  const long v = std::lround(std::floor(100.0 - static_cast<double>(IdleFrames) / 12.0));
  Text(std::to_string(v), 2, 2, font, third, 100.0 - static_cast<double>(v), 255, 155, 155);
}

void DrawLastGame() {
  if (world::LastGameScore <= 0) return;
  render::DrawFontText(render::LabelFont, 570, 0, 65, 20, "LAST GAME", render::Argb(160, 255, 255, 255),
                       2);
  render::DrawFontText(render::LabelFont, 570, 12, 65, 20, std::to_string(world::LastGameScore),
                       render::Argb(230, 255, 255, 255), 2);
}

void DrawModeLabel() {
  render::SetDrawColor(55, 255, 55);
  const double alpha = 80.0 - (100.0 - static_cast<double>(MenuFade));
  if (config::GameOptions.GameMode_Story) {
    Sprite(render::TexOSStory, 542, 449, 256, 64, 0, alpha, 128, 32);
  } else {
    Sprite(render::TexOSArcade, 537, 449, 256, 64, 0, alpha, 128, 32);
  }
  render::SetDrawColor(255, 255, 255);
}

// ---- Back and Next buttons --------------------------------------------------

// The phase shared by the Back and Next buttons (main-menu button 6's).
Single& BackPhase() { return MenuButtonAnim[6].Phase; }

void DrawBackButton(render::Texture picture, Single alpha) {
  Single& phase = BackPhase();
  phase += 1;
  if (phase > 1000) phase = 0;
  Sprite(picture, 220, 420, 256, 64, Wobble(phase), alpha, kButtonWidth, kButtonHeight);
}

void DrawOptionsBackButton(Single fade) {
  Single& phase = BackPhase();
  ButtonAnim& rec = MenuButtonAnim[0];
  if (MenuItem == kItemBack) {
    phase += 1;
    if (phase > 1000) phase = 0;
    if (rec.Alpha < 100) rec.Alpha += 2;
  } else {
    phase += 50;
    if (phase > 2300) phase = 0;
    if (rec.Alpha > 70) rec.Alpha -= 2;
  }
  Sprite(render::TexBBack, 220, 420, 256, 64, Wobble(phase),
         static_cast<double>(rec.Alpha) - (100.0 - static_cast<double>(fade)), kButtonWidth,
         kButtonHeight);
}

// ---- Credits ----------------------------------------------------------------

enum class RowAlpha { Standard, PreviousRowPlain, OwnPlain };
struct CreditPicture {
  int row;
  render::Texture* picture;
  RowAlpha alpha;
};
const std::array<CreditPicture, 18>& CreditPictures() {
  using R = RowAlpha;
  static const std::array<CreditPicture, 18> table = {{
      {0, &render::TexCProgramming, R::Standard},
      {1, &render::TexCContributor04, R::Standard},
      {3, &render::TexCGraphics, R::Standard},
      {4, &render::TexCContributor10, R::Standard},
      {5, &render::TexCContributor04, R::Standard},
      {6, &render::TexCContributor03, R::Standard},
      {7, &render::TexCContributor01, R::Standard},
      {9, &render::TexCSoundAndMusic, R::PreviousRowPlain},
      {10, &render::TexCContributor06, R::Standard},
      {11, &render::TexCContributor04, R::Standard},
      {12, &render::TexCContributor08, R::Standard},
      {14, &render::TexCThanksTo, R::Standard},
      {15, &render::TexCContributor05, R::Standard},
      {16, &render::TexCContributor09, R::Standard},
      {17, &render::TexCContributor07, R::Standard},
      {18, &render::TexCContributor02, R::Standard},
      {19, &render::TexCContributor11, R::Standard},
      {21, &render::TexCTumblewell, R::OwnPlain},
  }};
  return table;
}

void DrawCredits(Single fade) {
  for (const CreditPicture& c : CreditPictures()) {
    const CreditRowState& row = CreditRows[static_cast<std::size_t>(c.row)];
    if (row.Alpha <= 0) continue;
    double alpha = 2.0 * static_cast<double>(row.Alpha);
    if (c.alpha == RowAlpha::PreviousRowPlain) {
      alpha = static_cast<double>(CreditRows[static_cast<std::size_t>(c.row - 1)].Alpha);
    } else if (c.alpha == RowAlpha::OwnPlain) {
      alpha = static_cast<double>(row.Alpha);
    }
    Sprite(*c.picture, 192, row.Y, 512, 64, 0, alpha, 256, 32);
  }
  Sprite(render::TexLogoKelvo, 482, 414, 316, 131, 0, fade, 158, 65);
  DrawBackButton(render::TexBBack, fade);
}

// ---- Options ----------------------------------------------------------------

struct OptionRow {
  Integer item;
  render::Texture* label;
  render::Texture* labelSelected;
  Single y;
  // Value pictures: first value (x 270) plain and selected, second (x 380).
  render::Texture* firstPlain;
  render::Texture* firstCurrent;
  render::Texture* secondPlain;
  render::Texture* secondCurrent;
  bool (*firstIsCurrent)();
};

void DrawOptions(Single fade) {
  using namespace render;
  const config::Options& o = config::GameOptions;
  static const std::array<OptionRow, 4> rows = {{
      {kItemGameMode, &TexOGameMode, &TexOSGameMode, 170, &TexOSStory, &TexOSSStory, &TexOSArcade,
       &TexOSSArcade, [] { return config::GameOptions.GameMode_Story; }},
      {kItemFullScreen, &TexOFullScreen, &TexOSFullScreen, 220, &TexOSOn, &TexOSSOn, &TexOSOff,
       &TexOSSOff, [] { return config::GameOptions.FullScreenChoice; }},
      {kItemDetails, &TexODetails, &TexOSDetails, 270, &TexOSHigh, &TexOSSHigh, &TexOSLow, &TexOSSLow,
       [] { return config::GameOptions.Details_High; }},
      {kItemSound, &TexOSound, &TexOSSound, 320, &TexOSOn, &TexOSSOn, &TexOSOff, &TexOSSOff,
       [] { return config::GameOptions.Sound_On; }},
  }};
  const double f = static_cast<double>(fade);
  for (const OptionRow& r : rows) {
    const bool selected = MenuItem == r.item;
    Sprite(selected ? *r.labelSelected : *r.label, 100, r.y, 256, 64, 0, selected ? f : f - 40,
           kButtonWidth, kButtonHeight);
    const bool first = r.firstIsCurrent();
    Sprite(first ? *r.firstCurrent : *r.firstPlain, 270, r.y, 256, 64, 0, first ? f : f - 40,
           kButtonWidth, kButtonHeight);
    Sprite(first ? *r.secondPlain : *r.secondCurrent, 380, r.y, 256, 64, 0, first ? f - 40 : f,
           kButtonWidth, kButtonHeight);
  }
  if (o.GameMode_Story && o.ArcadeLocked) {
    Sprite(TexUnlock, 380, 187, 256, 64, 0, f, kButtonWidth, kButtonHeight);
  }
  if (o.FullScreenChoice != o.FULL_SCREEN) {
    Sprite(TexRestart, 325, 237, 256, 64, 0, f, kButtonWidth, kButtonHeight);
  }
  DrawOptionsBackButton(fade);
}

// ---- High scores ------------------------------------------------------------

void DrawHighScores(Single fade) {
  using namespace render;
  const double s = static_cast<double>(fade);
  Text("HIGH SCORES", 200, 160, TexFontBlue, 1, s, 255, 255, 255);
  Text("NAME", 183, 200, TexFontDefaultNum, 0.5f, s, 155, 255, 155);
  Text("SCORE", 403, 200, TexFontDefaultNum, 0.5f, s, 155, 255, 155);
  for (std::size_t i = 0; i < 10; ++i) {
    const config::HighScoreEntry& e = config::HighScores[i];
    const Single y = 220.0f + 20.0f * static_cast<Single>(i);
    const bool fresh = IsNewEntry(e);
    const Single g = fresh ? 155.0f : 255.0f;
    char score[16];
    std::snprintf(score, sizeof score, "%5ld", static_cast<long>(e.Score));
    Text(e.Name, 183, y, TexFontDefaultNum, 0.5f, s, 255, g, g);
    Text(score, 403, y, TexFontDefaultNum, 0.5f, s, 255, g, g);
  }
  DrawBackButton(TexBBack, fade);
  DrawModeLabel();
}

// ---- Butterflies ------------------------------------------------------------

void DrawButterflies() {
  const double fade = static_cast<double>(MenuFade);
  for (const Butterfly& b : Butterflies) {
    const double w = b.WingPhase ? 8.0 : 16.0;
    const int kind = b.Kind < 1 ? 1 : (b.Kind > 4 ? 4 : b.Kind);
    const render::Texture picture = render::ButterflyTextures[static_cast<std::size_t>(kind - 1)];
    const double size = b.Size;
    const double angle = static_cast<double>(b.Heading) + 90.0;
    render::SetDrawColor(0, 0, 0);
    Sprite(picture, static_cast<double>(b.X) + size, static_cast<double>(b.Y) + 1.5 * size, 32, 32, angle,
           (50.0 - 5.0 * size) - (100.0 - fade), w, 16);
    render::SetDrawColor(255, 255, 255);
    Sprite(picture, b.X, b.Y, 32, 32, angle, fade, w, 16);
  }
}

void DrawScreens() {
  ScreenFadeLevels& f = ScreenFades;
  // Credits.
  if (f.credits > 0 || MenuScreen == "credits") {
    UpdateScreenFade("credits");
    ScrollCreditRows();
    DrawCredits(f.credits);
  }
  // Options.
  if (f.options > 0 || MenuScreen == "options") {
    UpdateScreenFade("options");
    DrawOptions(f.options);
  }
  // How to play (never above 80, so the page stays slightly transparent).
  if (f.howtoplay > 0 || MenuScreen == "howtoplay") {
    UpdateScreenFade("howtoplay");
    Sprite(render::TexHowToPlay, 64, 32, 512, 512, 0, f.howtoplay, 0, 0);
    DrawBackButton(render::TexBBack, f.howtoplay);
  }
  // Story, page 1.
  if (f.story > 0 || MenuScreen == "story") {
    UpdateScreenFade("story");
    Sprite(render::TexStory, 64, 0, 512, 512, 0, f.story, 0, 0);
    DrawBackButton(render::TexBNext, f.story);
  }
  // Story, page 2: reaching it marks the story read.
  if (f.story2 > 0 || MenuScreen == "story2") {
    if (MenuScreen == "story2") MarkStoryRead();
    UpdateScreenFade("story2");
    Sprite(render::TexStory2, 64, 0, 512, 512, 0, f.story2, 0, 0);
    DrawBackButton(render::TexBBack, f.story2);
  }
  // High scores.
  if (f.hs > 0 || MenuScreen == "hs") {
    UpdateScreenFade("hs");
    DrawHighScores(f.hs);
  }
  // The won picture; Return or Escape leaves.
  if (f.won > 0 || MenuScreen == "won") {
    UpdateScreenFade("won");
    Sprite(render::WonImage, 0, 0, 640, 480, 0, f.won, 0, 0);
  }
}

}  // namespace

void MoveByAngle(Single& x, Single& y, Single angle, Single distance) {
  const double rad = static_cast<double>(angle) * 3.14159265358979323846 / 180.0;
  x = static_cast<Single>(static_cast<double>(x) + static_cast<double>(distance) * std::cos(rad));
  y = static_cast<Single>(static_cast<double>(y) + static_cast<double>(distance) * std::sin(rad));
}

void WrapAngle(Single& angle) {
  if (angle > 359) angle -= 360;
  if (angle < 0) angle += 360;
}

void ResetMenuButtons() {
  for (std::size_t i = 1; i <= 7; ++i) MenuButtonAnim[i].Alpha = 0;
}

void ResetCreditRows() {
  for (std::size_t i = 0; i < CreditRows.size(); ++i) {
    CreditRows[i].Y = 460.0f + 20.0f * static_cast<Single>(i);
    CreditRows[i].Alpha = 0;
  }
}

void AnimateMenuButtons() {
  for (std::size_t i = 1; i <= 7; ++i) {
    ButtonAnim& b = MenuButtonAnim[i];
    if (static_cast<Integer>(i) == MenuItem) {
      if (b.Alpha < 100) b.Alpha = b.Alpha + 4 > 100 ? 100 : b.Alpha + 4;
      b.Phase += 1;
      if (b.Phase > 1000) b.Phase = 0;
    } else {
      if (b.Alpha > 65) {
        b.Alpha -= 2;
      } else if (b.Alpha < 65) {
        b.Alpha += 2;
      }
      b.Phase += 50;
      if (b.Phase > 2300) b.Phase = 0;
    }
  }
}

void ScrollCreditRows() {
  for (CreditRowState& row : CreditRows) {
    row.Y -= 0.5f;
    if (MenuScreen.empty()) row.Y -= 50.0f;  // the credits are being left
    if (row.Y > 330 && row.Y < 430) row.Alpha = 2.0f * (430.0f - row.Y);
    if (row.Y > 0 && row.Y < 230) row.Alpha = 100.0f - 2.0f * (230.0f - row.Y);
    if (row.Alpha < 0) row.Alpha = 0;
    if (row.Alpha > 100) row.Alpha = 100;
  }
  if (CreditRows[22].Y < 270) CreditRows[22].Y = 270;
  if (CreditRows[27].Y < 200) EndCredits();
}

void MoveButterflies() {
  for (Butterfly& b : Butterflies) {
    if (b.X == 0.0f) {
      b.Kind = static_cast<Integer>(std::floor(core::Rnd() * 4.0f) + 1.0f);
      b.X = core::Rnd() * 640.0f;
      b.Y = core::Rnd() * 480.0f;
      b.Heading = core::Rnd() * 360.0f;
      b.Speed = core::Rnd() + 1.0f;
      // Single products, rounded before CInt: a product that rounds onto a
      // half goes to the even neighbour, as it does in the original.
      b.FlapTimer = num::CInt(static_cast<double>(core::Rnd() * 50.0f));
      b.Size = num::CInt(static_cast<double>(core::Rnd() * 6.0f + 2.0f));
    }
    if (b.FlapTimer < 1) {
      b.FlapTimer = num::CInt(static_cast<double>(core::Rnd() * 3.0f + 3.0f));
      b.WingPhase = !b.WingPhase;
    } else {
      b.FlapTimer = static_cast<Integer>(b.FlapTimer - 1);
    }
    WrapAngle(b.Heading);
    // Steer back towards the canvas from each side it has left.
    if (b.Y < -32) b.Heading += 10;
    if (b.X < -32) b.Heading += 10;
    if (b.X > 640) b.Heading += 10;
    if (b.Y > 480) b.Heading += 10;
    b.Heading += std::floor(core::Rnd() * 15.0f) - 7.0f;
    MoveByAngle(b.X, b.Y, b.Heading, b.Speed);
  }
}

void MenuFrame() {
  MenuInput();
  render::SetDrawColor(255, 255, 255);
  render::DrawMenuBackground(100);
  if (NewGameFade()) return;  // the game has started; its first frame draws next

  if (MenuScreen.empty()) {
    if (MenuItem == 0) MenuItem = kItemNewGame;
    AnimateMenuButtons();
    DrawMainButtons();
    IdleReplayStart();
    DrawStatusLine();
    DrawLastGame();
    DrawModeLabel();
  }

  DrawScreens();

  if (config::GameOptions.Details_High) {
    MoveButterflies();
    DrawButterflies();
  }
  if (MenuScreen != "won" && MenuScreen != "howtoplay" && MenuScreen != "story" &&
      MenuScreen != "story2") {
    const double drift = std::sin(SecondsSinceMidnight());
    Sprite(render::TexTitle, 64.0 + drift, drift, 512, 155, 0, MenuFade, 0, 0);
  }
  if (render::LogoFade > 0) {
    render::LogoFade -= 1.5f;
    Sprite(render::TexLogo, 0, 0, 640, 480, 0, render::LogoFade, 0, 0);
  }
  if (ReturnFade > 0) {
    ReturnFade -= 2;
    render::DrawMenuBackground(ReturnFade);
  }
  FinishMenuFrame();
  render::EndFrame();
}

}  // namespace tw::frontend
