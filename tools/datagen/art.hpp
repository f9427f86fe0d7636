// Every picture the game loads, each made by one function.
#pragma once

#include <string>
#include <vector>

#include "image.hpp"
#include "text.hpp"

namespace datagen {

// The twelve tile colours in catalogue order, then the grey set.
struct TileColor {
  const char* name;
  Color base;
};
const std::vector<TileColor>& tileColors();  // 13 entries, the last is "bw"

enum class Material { Plain, Mud, Gum, Ice };
Image tileGround(const Color& base, Material m, int seed);
Image tileGlass(bool grey);
Image tileStone();
Image wallBricks();
Image wallBricks2(bool grey);
Image wallWood(bool grey);
Image wallMetal();
Image wallGround();

Image boloBody();
Image boloEyes();
Image bonusBomb();
Image bonusPie();
Image bonusBoot();
Image bonusGlassBomb();
Image bonusEars();
Image bonusSelection();
Image drill();
Image clouds();
Image particles();
Image explosion();
Image arrow();
Image weightIcon();
Image butterfly(int kind);
Image sidebar(bool horizontal);
Image background(const Color& c);
Image debugWindow();

Image textBoom();
Image titlePicture();
Image pausedPicture();
Image levelText();
Image levelNumber(int n);
Image loadingLabel();
Image menuButton(const std::string& words, bool emphasis);
enum class OptionLook { Label, LabelSelected, Value, ValueCurrent };
Image optionPicture(const std::string& words, OptionLook look);
Image unlockNote();
Image restartNote();
Image creditCaption(const std::string& words, bool heading);
Image makersLogo();
Image bannerCaption(const std::string& words, const Color& top, const Color& bottom);

Image storyPage(int page);
Image howToPlayPage();
Image loadingScreen();
Image menuBackground();
Image wonStory();
Image wonArcade();
// The application icon, size x size pixels.
Image appIcon(int size);

// Golden display lettering with a navy outline, drop shadow and gloss: the
// headings and captions everywhere use it.
TextStyle goldStyle(float outline);

// A friendly Bolo at any size, for the big pictures.
void drawBolo(Image& img, float cx, float cy, float r, float lookX = 0, float lookY = 0, bool happy = true);

}  // namespace datagen
