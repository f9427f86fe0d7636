// Pictures whose main content is words: menu buttons, option labels,
// captions, banners and the title.
#include <algorithm>
#include <array>
#include <cmath>

#include "art.hpp"
#include "text.hpp"

namespace datagen {

namespace {
const Color kNavy = rgb(18, 30, 84);
}  // namespace

TextStyle goldStyle(float outline) {
  TextStyle st;
  st.top = rgb(255, 252, 196);
  st.bottom = rgb(255, 164, 28);
  st.outline = kNavy;
  st.outlineWidth = outline;
  st.shadowDx = outline * 0.8f;
  st.shadowDy = outline;
  st.shadow = rgb(0, 0, 30, 0.45f);
  st.gloss = true;
  return st;
}

namespace {

TextStyle whiteStyle(float outline) {
  TextStyle st;
  st.top = rgb(255, 255, 255);
  st.bottom = rgb(206, 226, 255);
  st.outline = kNavy;
  st.outlineWidth = outline;
  st.shadowDx = outline * 0.6f;
  st.shadowDy = outline * 0.8f;
  st.shadow = rgb(0, 0, 30, 0.4f);
  return st;
}

// Headline text with a solid extruded depth below-right, like a toy block letter.
void extruded(Image& img, const std::string& words, int size, float cx, float cy, const TextStyle& face, int depth,
              const Color& side, int align = 0) {
  TextStyle back;
  back.top = back.bottom = side;
  back.outline = kNavy;
  back.outlineWidth = face.outlineWidth;
  for (int i = depth; i >= 1; --i)
    drawText(img, Face::Display, size, words, cx + static_cast<float>(i) * 0.6f, cy + static_cast<float>(i), back, align);
  TextStyle front = face;
  front.shadowDx = front.shadowDy = 0;
  drawText(img, Face::Display, size, words, cx, cy, front, align);
}

}  // namespace

Image textBoom() {
  Image img(64, 19);
  TextStyle st = goldStyle(1.5f);
  st.top = rgb(255, 250, 160);
  st.bottom = rgb(255, 110, 20);
  st.outline = rgb(120, 10, 10);
  st.shadowDx = st.shadowDy = 0;
  const int size = fitSize(Face::Display, "BOOM!", 22, 58, 15);
  drawText(img, Face::Display, size, "BOOM!", 32, 9.5f, st);
  return img;
}

Image bannerCaption(const std::string& words, const Color& top, const Color& bottom) {
  Image img(512, 64);
  TextStyle st = goldStyle(3);
  st.top = top;
  st.bottom = bottom;
  const int size = fitSize(Face::Display, words, 48, 480, 40);
  drawText(img, Face::Display, size, words, 256, 32, st);
  return img;
}

Image titlePicture() {
  Image img(512, 155);
  const std::string words = "TUMBLEWELL";
  const int size = fitSize(Face::Display, words, 110, 470, 86);
  // A row of little tiles in the game's colours underlines the name.
  const auto& cols = tileColors();
  for (int i = 0; i < 12; ++i) {
    const float x = 62 + static_cast<float>(i) * 32.5f, y = 122 + 4 * std::sin(static_cast<float>(i) * 0.9f);
    const Color c = cols[static_cast<std::size_t>(i)].base;
    outlined(img, box(x, y, x + 28, y + 22, 4), linear(x, y, shade(c, 1.3f), x, y + 22, shade(c, 0.8f)), kNavy, 2);
    fill(img, capsule(x + 5, y + 5, x + 12, y + 5, 1.5f), rgb(255, 255, 255), 0.6f);
  }
  TextStyle st = goldStyle(4);
  st.top = rgb(170, 232, 255);
  st.bottom = rgb(40, 120, 240);
  extruded(img, words, size, 256, 62, st, 7, rgb(20, 60, 150));
  for (auto p : {std::array<float, 3>{30, 22, 9}, {488, 30, 7}, {470, 100, 5}, {44, 96, 5}}) {
    fill(img, star(p[0], p[1], p[2], p[2] * 0.3f, 4), rgb(255, 250, 200));
  }
  return img;
}

Image pausedPicture() {
  Image img(512, 128);
  const int size = fitSize(Face::Display, "PAUSED", 100, 440, 84);
  extruded(img, "PAUSED", size, 256, 62, goldStyle(4), 6, rgb(190, 90, 10));
  return img;
}

Image levelText() {
  Image img(256, 128);
  const int size = fitSize(Face::Display, "LEVEL", 80, 236, 66);
  // Right-aligned: the number picture stands just to the right.
  TextStyle st = goldStyle(3.5f);
  st.shadowDx = st.shadowDy = 0;
  extruded(img, "LEVEL", size, 246, 62, st, 5, rgb(190, 90, 10), 1);
  return img;
}

Image levelNumber(int n) {
  Image img(128, 128);
  const std::string words = std::to_string(n);
  const int size = fitSize(Face::Display, words, 96, 112, 84);
  TextStyle st = goldStyle(4);
  st.top = rgb(255, 255, 255);
  st.bottom = rgb(120, 220, 255);
  extruded(img, words, size, 60, 64, st, 6, rgb(20, 70, 160));
  return img;
}

Image loadingLabel() {
  Image img(128, 32);
  TextStyle st = whiteStyle(2);
  const int size = fitSize(Face::Display, "LOADING...", 28, 116, 22);
  drawText(img, Face::Display, size, "LOADING...", 6, 16, st, -1);
  return img;
}

Image menuButton(const std::string& words, bool emphasis) {
  Image img(256, 64);
  // The pill leaves room above and below: neighbouring buttons overlap a little.
  const Color top = emphasis ? rgb(120, 226, 120) : rgb(110, 190, 255);
  const Color bottom = emphasis ? rgb(24, 140, 60) : rgb(30, 96, 214);
  const Sdf pill = box(6, 9, 250, 55, 23);
  fill(img, grow(pill, 1), rgb(0, 0, 30), 0.35f, 3.0f);
  outlined(img, pill, linear(0, 9, top, 0, 55, bottom), kNavy, 3);
  fillClipped(img, box(14, 13, 242, 30, 12), grow(pill, -4), solid(rgb(255, 255, 255)), 0.35f);
  TextStyle st = whiteStyle(2.5f);
  const int size = fitSize(Face::Display, words, 40, 206, 28);
  drawText(img, Face::Display, size, words, 128, 33, st);
  return img;
}

Image optionPicture(const std::string& words, OptionLook look) {
  // Words only, starting at the left: the screen lines labels and values up
  // in columns closer together than the pictures are wide.
  Image img(256, 64);
  TextStyle st;
  int maxW = 200;
  switch (look) {
    case OptionLook::Label:
      st = whiteStyle(2.5f);
      break;
    case OptionLook::LabelSelected:
      st = goldStyle(2.5f);
      break;
    case OptionLook::Value:
      st = whiteStyle(2.5f);
      maxW = 124;
      break;
    case OptionLook::ValueCurrent:
      st = goldStyle(2.5f);
      st.top = rgb(220, 255, 170);
      st.bottom = rgb(40, 196, 60);
      maxW = 124;
      break;
  }
  const int size = fitSize(Face::Display, words, 40, maxW, 30);
  if (look == OptionLook::LabelSelected || look == OptionLook::ValueCurrent) {
    const float w = static_cast<float>(std::min(textWidth(Face::Display, size, words), maxW));
    fill(img, box(2, 14, 14 + w, 50, 16), rgb(255, 255, 160), 0.35f, 6.0f);
  }
  drawText(img, Face::Display, size, words, 8, 32, st, -1);
  return img;
}

Image unlockNote() {
  // Sits just below the locked value: a small padlock and a hint.
  Image img(256, 64);
  const Color metal = rgb(255, 200, 60);
  fill(img, ring(box(9, 22, 19, 34, 5), 1.4f), rgb(200, 200, 214));
  outlined(img, box(6, 30, 22, 44, 2), linear(0, 30, shade(metal, 1.2f), 0, 44, shade(metal, 0.8f)), kNavy, 1.5f);
  fill(img, circle(14, 36, 1.8f), kNavy);
  TextStyle st = whiteStyle(2);
  st.top = rgb(255, 214, 214);
  st.bottom = rgb(255, 150, 150);
  drawText(img, Face::Display, fitSize(Face::Display, "WIN STORY TO UNLOCK", 20, 220, 14), "WIN STORY TO UNLOCK", 28,
           38, st, -1);
  return img;
}

Image restartNote() {
  Image img(256, 64);
  TextStyle st = whiteStyle(2);
  st.top = rgb(255, 240, 170);
  st.bottom = rgb(255, 190, 80);
  drawText(img, Face::Display, fitSize(Face::Display, "RESTART TO APPLY", 20, 230, 14), "RESTART TO APPLY", 8, 44, st,
           -1);
  return img;
}

Image creditCaption(const std::string& words, bool heading) {
  Image img(512, 64);
  TextStyle st = heading ? goldStyle(3) : whiteStyle(2.5f);
  const int size = fitSize(heading ? Face::Display : Face::Body, words, heading ? 48 : 40, 480, heading ? 40 : 34);
  drawText(img, heading ? Face::Display : Face::Body, size, words, 256, 32, st);
  return img;
}

Image makersLogo() {
  Image img(316, 131);
  // A round badge with a little well, then the project's name.
  outlined(img, circle(62, 65, 56), radial(44, 44, 90, rgb(150, 220, 255), rgb(30, 100, 210)), kNavy, 4);
  outlined(img, box(30, 66, 94, 104, 4), linear(0, 66, rgb(214, 150, 96), 0, 104, rgb(150, 90, 50)), kNavy, 3);
  for (int i = 0; i < 3; ++i) fill(img, box(34, 76 + 10 * static_cast<float>(i), 90, 77.5f + 10 * static_cast<float>(i)), kNavy, 0.5f);
  outlined(img, ellipse(62, 66, 32, 8), solid(rgb(20, 30, 60)), kNavy, 3);
  fill(img, capsule(30, 60, 30, 30, 3), kNavy);
  fill(img, capsule(94, 60, 94, 30, 3), kNavy);
  fill(img, capsule(24, 28, 100, 28, 4), rgb(200, 60, 40));
  drawBolo(img, 62, 50, 13, 0, 1);
  TextStyle st = goldStyle(3);
  drawText(img, Face::Display, fitSize(Face::Display, "TUMBLEWELL", 40, 186, 34), "TUMBLEWELL", 220, 52, st);
  TextStyle sub = whiteStyle(2);
  drawText(img, Face::Display, fitSize(Face::Display, "PROJECT", 30, 150, 22), "PROJECT", 220, 90, sub);
  return img;
}

}  // namespace datagen
