// The big pictures: story and how-to-play pages, the loading screen, the
// menu background and the two won pictures.
#include <algorithm>
#include <cmath>

#include "art.hpp"
#include "text.hpp"

namespace datagen {

namespace {

constexpr float kPi = 3.14159265f;
const Color kNavy = rgb(18, 30, 84);
const Color kInk = rgb(36, 40, 72);

TextStyle whiteText(float outline) {
  TextStyle st;
  st.top = rgb(255, 255, 255);
  st.bottom = rgb(214, 232, 255);
  st.outline = kNavy;
  st.outlineWidth = outline;
  st.shadowDx = st.shadowDy = outline * 0.7f;
  st.shadow = rgb(0, 0, 30, 0.4f);
  return st;
}

void panel(Image& img, float x0, float y0, float x1, float y1) {
  fill(img, grow(box(x0 + 4, y0 + 6, x1 + 4, y1 + 6, 22), 0), rgb(0, 0, 30), 0.35f, 6.0f);
  outlined(img, box(x0, y0, x1, y1, 22), linear(0, y0, rgb(255, 251, 238), 0, y1, rgb(248, 232, 200)), kNavy, 4);
  fill(img, ring(box(x0 + 9, y0 + 9, x1 - 9, y1 - 9, 15), 1.0f), rgb(220, 180, 120), 0.8f);
}

void sky(Image& img, float x0, float y0, float x1, float y1, const Sdf& clip) {
  fill(img, intersect(box(x0, y0, x1, y1), clip), linear(0, y0, rgb(96, 176, 250), 0, y1, rgb(200, 236, 255)));
}

void cloudPuff(Image& img, float x, float y, float s, const Sdf& clip) {
  Sdf c = unite(unite(circle(x, y, 10 * s), circle(x + 12 * s, y - 5 * s, 12 * s)),
                unite(circle(x + 26 * s, y, 9 * s), box(x, y - 2 * s, x + 26 * s, y + 9 * s, 4 * s)));
  fill(img, intersect(c, clip), rgb(255, 255, 255), 0.95f);
}

void hills(Image& img, float x0, float x1, float y, const Sdf& clip, float scale = 1) {
  const Sdf back = [=](float x, float yy) { return (y - 12 * scale + 10 * scale * std::sin(x * 0.018f / scale + 1.3f)) - yy; };
  const Sdf front = [=](float x, float yy) { return (y + 8 * scale * std::sin(x * 0.011f / scale)) - yy; };
  fill(img, intersect(intersect(back, clip), box(x0, 0, x1, 2000)), linear(0, y - 30, rgb(120, 210, 90), 0, y + 60, rgb(60, 160, 60)));
  fill(img, intersect(intersect(front, clip), box(x0, 0, x1, 2000)), linear(0, y, rgb(104, 200, 70), 0, y + 120, rgb(40, 130, 50)));
}

void well(Image& img, float cx, float top, float w, float h, bool roof = true) {
  const float hw = w / 2;
  outlined(img, box(cx - hw, top, cx + hw, top + h, 6), linear(0, top, rgb(210, 206, 214), 0, top + h, rgb(140, 136, 150)), kNavy, 3);
  for (int row = 0; row < 3; ++row) {
    const float y = top + h * (0.25f + 0.25f * static_cast<float>(row));
    fill(img, box(cx - hw + 3, y, cx + hw - 3, y + 2), kNavy, 0.45f);
    for (int k = 0; k < 4; ++k) {
      const float x = cx - hw + w * (0.12f + 0.25f * static_cast<float>(k) + (row % 2 ? 0.12f : 0.0f));
      if (x < cx + hw - 6) fill(img, box(x, y - h * 0.25f + 2, x + 2, y), kNavy, 0.35f);
    }
  }
  outlined(img, ellipse(cx, top, hw + 4, h * 0.18f), solid(rgb(190, 186, 196)), kNavy, 3);
  fill(img, ellipse(cx, top + 1, hw - 6, h * 0.11f), rgb(20, 24, 50));
  if (!roof) return;
  // The little roof on two posts.
  outlined(img, box(cx - hw + 2, top - h * 1.15f, cx - hw + 9, top, 2), solid(rgb(170, 110, 60)), kNavy, 2.5f);
  outlined(img, box(cx + hw - 9, top - h * 1.15f, cx + hw - 2, top, 2), solid(rgb(170, 110, 60)), kNavy, 2.5f);
  outlined(img, polygon({cx - hw - 16, top - h * 1.05f, cx, top - h * 1.65f, cx + hw + 16, top - h * 1.05f}),
           linear(0, top - h * 1.65f, rgb(240, 90, 70), 0, top - h * 1.05f, rgb(170, 40, 40)), kNavy, 3);
}

void sun(Image& img, float x, float y, float r) {
  for (int i = 0; i < 12; ++i) {
    const float a = static_cast<float>(i) * kPi / 6;
    fill(img, capsule(x + std::cos(a) * r * 1.25f, y + std::sin(a) * r * 1.25f, x + std::cos(a) * r * 1.7f,
                      y + std::sin(a) * r * 1.7f, r * 0.12f),
         rgb(255, 220, 80), 0.9f);
  }
  outlined(img, circle(x, y, r), radial(x - r * 0.3f, y - r * 0.3f, r * 1.4f, rgb(255, 250, 180), rgb(255, 190, 40)),
           rgb(220, 120, 20), 2.5f);
}

void tileIcon(Image& img, const Image& tile, float x, float y, float size) { blit(img, tile, x, y, size / 32.0f); }

float para(Image& img, const std::string& text, float y, int size = 19) {
  return drawParagraph(img, Face::Body, size, text, 40, y, 432, kInk, 1.12f);
}

void motionLines(Image& img, float x, float y, float len) {
  for (int i = -1; i <= 1; ++i)
    fill(img, capsule(x + static_cast<float>(i) * 9, y - len, x + static_cast<float>(i) * 9, y - len * 0.3f, 1.6f),
         rgb(255, 255, 255), 0.85f);
}

void shaftScene(Image& img, float x0, float y0, float x1, float y1, bool withDrills) {
  const Sdf frame = box(x0, y0, x1, y1, 12);
  fill(img, frame, rgb(60, 40, 30));
  const auto& cols = tileColors();
  Rng rng(7);
  for (float y = y0; y < y1; y += 24)
    for (float x = x0; x < x1; x += 24) {
      if (rng.uniform() < 0.3f) continue;
      const int ci = static_cast<int>(rng.uniform() * 12);
      const Image t = tileGround(cols[static_cast<std::size_t>(ci)].base, static_cast<Material>(static_cast<int>(rng.uniform() * 4)), ci);
      Image tile = scaled(t, 24, 24);
      for (int j = 0; j < 24; ++j)
        for (int i = 0; i < 24; ++i) {
          const float px = x + static_cast<float>(i) + 0.5f, py = y + static_cast<float>(j) + 0.5f;
          if (frame(px, py) > -0.5f) tile.at(i, j)[0] = tile.at(i, j)[1] = tile.at(i, j)[2] = tile.at(i, j)[3] = 0;
        }
      blit(img, tile, x, y);
    }
  if (withDrills) {
    const Image d = drill();
    for (float x = x0 + 4; x < x1 - 24; x += 26) {
      fill(img, box(x, y0, x + 24, y0 + 10), rgb(196, 74, 52));
      blit(img, d, x, y0 + 8, 0.75f);
    }
    fill(img, intersect(box(x0, y1 - 22, x1, y1), frame), linear(0, y1 - 22, rgb(120, 190, 255, 0.85f), 0, y1, rgb(40, 90, 220, 0.9f)));
  }
  fill(img, ring(frame, 1.5f), kNavy);
}

}  // namespace

Image storyPage(int page) {
  Image img(512, 512);
  panel(img, 8, 8, 504, 504);
  const Sdf pic = box(34, 72, 478, 236, 14);
  if (page == 1) {
    drawText(img, Face::Display, fitSize(Face::Display, "A WINDY MORNING", 40, 440, 36), "A WINDY MORNING", 256, 42, goldStyle(3));
    sky(img, 34, 72, 478, 236, pic);
    sun(img, 420, 110, 18);
    cloudPuff(img, 70, 110, 1.0f, pic);
    cloudPuff(img, 250, 96, 0.8f, pic);
    hills(img, 34, 478, 196, pic);
    well(img, 256, 196, 96, 34, false);
    drawBolo(img, 256, 181, 14, 0.4f, -1, false);
    motionLines(img, 256, 160, 26);
    // The front of the rim passes in front of Bolo: half-way in already.
    const Sdf front = intersect(ring(ellipse(256, 196, 49, 5.2f), 2.6f), box(190, 196, 322, 215));
    fill(img, grow(front, 1.5f), kNavy);
    fill(img, front, rgb(190, 186, 196));
    fill(img, box(209, 199.5f, 303, 212), linear(0, 199, rgb(210, 206, 214), 0, 212, rgb(180, 176, 190)));
    blit(img, butterfly(0), 330, 130, 1.0f);
    fill(img, ring(pic, 1.5f), kNavy);
    para(img,
         "Bolo is a small round blue creature who lives in a sunny meadow. One windy morning Bolo chased a "
         "butterfly all the way to the old well at the edge of the meadow, leaned over the rim for a peek... "
         "and tumbled right in!",
         252);
    para(img, "Down and down Bolo fell, deep into a shaft packed with colourful tiles.", 372);
  } else {
    drawText(img, Face::Display, fitSize(Face::Display, "THE ONLY WAY IS DOWN", 40, 440, 36), "THE ONLY WAY IS DOWN", 256, 42,
             goldStyle(3));
    shaftScene(img, 34, 72, 478, 236, true);
    drawBolo(img, 256, 160, 15, 0, 1);
    fill(img, ring(pic, 1.5f), kNavy);
    para(img,
         "High above, the old drilling machine has woken up. Its sharp drills are coming down the shaft, "
         "smashing every tile they touch, and cold water waits below.",
         252);
    para(img,
         "Dig, jump and bomb your way through ten levels to the very bottom, where a tunnel leads home to "
         "the meadow. Hurry, Bolo!",
         344);
  }
  return img;
}

Image howToPlayPage() {
  Image img(512, 512);
  panel(img, 8, 8, 504, 504);
  drawText(img, Face::Display, fitSize(Face::Display, "HOW TO PLAY", 38, 400, 32), "HOW TO PLAY", 256, 38, goldStyle(3));

  auto key = [&](const std::string& label, float x, float y) {
    const int size = 13;
    const float w = std::max(22.0f, static_cast<float>(textWidth(Face::Sans, size, label)) + 14);
    fill(img, box(x, y + 2, x + w, y + 22, 5), kNavy);
    outlined(img, box(x, y, x + w, y + 20, 5), linear(0, y, rgb(255, 255, 255), 0, y + 20, rgb(206, 212, 230)), kNavy, 1.5f);
    TextStyle st;
    st.top = st.bottom = kNavy;
    drawText(img, Face::Sans, size, label, x + w / 2, y + 10, st);
    return x + w + 5;
  };
  auto words = [&](const std::string& text, float x, float y, float maxW, int size = 16) {
    const int s = std::min(size, fitSize(Face::Body, text, size, static_cast<int>(maxW), 40));
    drawTextAt(img, Face::Body, s, text, x, y + 10 - static_cast<float>(lineHeight(Face::Body, s)) * 0.42f, kInk);
  };

  float x = key("LEFT", 40, 66);
  x = key("RIGHT", x, 66);
  words("walk", x + 6, 66, 300);
  x = key("UP", 40, 92);
  words("jump, and brake a fall", x + 6, 92, 360);
  x = key("SPACE", 40, 118);
  words("or", x + 2, 118, 40);
  x = key("DOWN", x + 24, 118);
  words("drop a bomb", x + 6, 118, 300);
  x = key("P", 40, 144);
  words("pause", x + 5, 144, 60);
  x = key("ESC", 172, 144);
  words("give up", x + 5, 144, 80);
  x = key("S", 330, 144);
  words("screenshot", x + 5, 144, 120);

  fill(img, box(40, 171, 472, 172.5f), rgb(220, 180, 120));
  const Color g = tileColors()[0].base;
  struct Row {
    Image icon;
    std::string text;
  };
  const Row mats[] = {{tileGround(g, Material::Plain, 1), "Ground: knock it loose"},
                      {tileGround(rgb(156, 98, 52), Material::Mud, 3), "Mud: slow going"},
                      {tileGround(rgb(232, 52, 56), Material::Gum, 4), "Gum: springy, you bounce"},
                      {tileGround(rgb(96, 206, 248), Material::Ice, 5), "Ice: slippery, you slide"},
                      {tileGlass(false), "Glass: shatters on a hard hit"},
                      {tileStone(), "Stone: unbreakable, stops drills"}};
  for (int i = 0; i < 6; ++i) {
    const float cx = i % 2 ? 262 : 36, cy = 177 + static_cast<float>(i / 2) * 30;
    tileIcon(img, mats[i].icon, cx, cy, 28);
    words(mats[i].text, cx + 34, cy + 4, 178, 15);
  }
  fill(img, box(40, 271, 472, 272.5f), rgb(220, 180, 120));
  const Row bonuses[] = {{bonusBomb(), "Bomb: one more to drop"},
                         {bonusPie(), "Pie: points, but heavier"},
                         {bonusBoot(), "Boot: run fast for a while"},
                         {bonusEars(), "Big ears: Up brakes a fall harder"},
                         {bonusGlassBomb(), "Glass bomb: all you see turns to glass"}};
  for (int i = 0; i < 5; ++i) {
    const bool wide = i == 4;
    const float cx = wide ? 36 : (i % 2 ? 262 : 36), cy = 277 + static_cast<float>(i / 2) * 30;
    tileIcon(img, bonuses[i].icon, cx, cy, 28);
    words(bonuses[i].text, cx + 34, cy + 4, wide ? 400 : 178, 15);
  }
  TextStyle warn = whiteText(2);
  warn.top = rgb(255, 214, 200);
  warn.bottom = rgb(255, 120, 90);
  drawText(img, Face::Display, fitSize(Face::Display, "KEEP AWAY FROM THE DRILLS AND THE WATER!", 18, 430, 16),
           "KEEP AWAY FROM THE DRILLS AND THE WATER!", 256, 371, warn);
  return img;
}

Image loadingScreen() {
  Image img(640, 480);
  const Sdf all = box(0, 0, 640, 480);
  sky(img, 0, 0, 640, 480, all);
  for (int i = 0; i < 18; ++i) {
    const float a0 = static_cast<float>(i) * kPi / 9, a1 = a0 + kPi / 18;
    fill(img, polygon({320, 330, 320 + 900 * std::cos(a0), 330 + 900 * std::sin(a0), 320 + 900 * std::cos(a1),
                       330 + 900 * std::sin(a1)}),
         rgb(255, 255, 255), 0.12f);
  }
  cloudPuff(img, 60, 250, 2.0f, all);
  cloudPuff(img, 470, 220, 2.4f, all);
  sun(img, 560, 70, 34);
  hills(img, 0, 640, 370, all, 2.0f);
  well(img, 320, 360, 150, 64);
  drawBolo(img, 388, 312, 26, -0.6f, -0.6f);
  const Image bf = butterfly(2);
  blit(img, bf, 200, 300, 2.0f);

  {
    TextStyle st = goldStyle(5);
    st.top = rgb(170, 232, 255);
    st.bottom = rgb(40, 120, 240);
    const int size = fitSize(Face::Display, "TUMBLEWELL", 120, 560, 100);
    TextStyle back;
    back.top = back.bottom = rgb(20, 60, 150);
    back.outline = kNavy;
    back.outlineWidth = 5;
    for (int i = 8; i >= 1; --i)
      drawText(img, Face::Display, size, "TUMBLEWELL", 320 + static_cast<float>(i) * 0.6f, 120 + static_cast<float>(i), back);
    st.shadowDx = st.shadowDy = 0;
    drawText(img, Face::Display, size, "TUMBLEWELL", 320, 120, st);
  }
  return img;
}

Image menuBackground() {
  // Drawn larger than the screen and slowly turning, with a copy turning
  // the other way on top: soft rays and dots that never show an edge.
  Image img(640, 480);
  const float cx = 320, cy = 240;
  fill(img, box(0, 0, 640, 480), radial(cx, cy, 420, rgb(214, 240, 255), rgb(110, 180, 246)));
  for (int i = 0; i < 24; ++i) {
    const float a0 = static_cast<float>(i) * kPi / 12, a1 = a0 + kPi / 24;
    fill(img, polygon({cx, cy, cx + 900 * std::cos(a0), cy + 900 * std::sin(a0), cx + 900 * std::cos(a1),
                       cy + 900 * std::sin(a1)}),
         rgb(255, 255, 255), 0.18f);
  }
  Rng rng(2024);
  const auto& cols = tileColors();
  for (int i = 0; i < 70; ++i) {
    const float x = rng.range(0, 640), y = rng.range(0, 480), r = rng.range(3, 9);
    fill(img, circle(x, y, r), cols[static_cast<std::size_t>(i % 12)].base, 0.22f, 2.0f);
  }
  return img;
}

Image wonStory() {
  Image img(640, 480);
  const Sdf all = box(0, 0, 640, 480);
  sky(img, 0, 0, 640, 480, all);
  const Color bands[] = {rgb(255, 80, 80), rgb(255, 170, 50), rgb(255, 236, 80), rgb(100, 210, 90), rgb(70, 150, 255), rgb(150, 100, 230)};
  for (int i = 0; i < 6; ++i)
    fill(img, intersect(ring(circle(320, 430, 300 - 14 * static_cast<float>(i)), 7), box(0, 0, 640, 430)), bands[i], 0.55f);
  sun(img, 90, 80, 36);
  cloudPuff(img, 430, 90, 2.0f, all);
  hills(img, 0, 640, 360, all, 2.0f);
  well(img, 520, 372, 110, 48);
  drawBolo(img, 300, 330, 42, 0, -0.3f);
  for (int i = 0; i < 3; ++i) blit(img, butterfly(i), 180 + 160 * static_cast<float>(i), 250 - 30 * static_cast<float>(i % 2), 1.6f);
  drawText(img, Face::Display, fitSize(Face::Display, "HOME AT LAST!", 90, 560, 70), "HOME AT LAST!", 320, 170, goldStyle(5));
  TextStyle st = whiteText(3);
  drawText(img, Face::Display, fitSize(Face::Display, "BOLO DUG ALL THE WAY BACK TO THE MEADOW", 30, 580, 24),
           "BOLO DUG ALL THE WAY BACK TO THE MEADOW", 320, 222, st);
  drawText(img, Face::Display, 22, "PRESS RETURN", 320, 452, whiteText(2.5f));
  return img;
}

Image wonArcade() {
  Image img(640, 480);
  fill(img, box(0, 0, 640, 480), radial(320, 250, 460, rgb(80, 60, 170), rgb(20, 16, 60)));
  for (int i = 0; i < 16; ++i) {
    const float a0 = static_cast<float>(i) * kPi / 8, a1 = a0 + kPi / 16;
    fill(img, polygon({320, 250, 320 + 900 * std::cos(a0), 250 + 900 * std::sin(a0), 320 + 900 * std::cos(a1),
                       250 + 900 * std::sin(a1)}),
         rgb(255, 220, 120), 0.12f);
  }
  Rng rng(99);
  const auto& cols = tileColors();
  for (int i = 0; i < 90; ++i) {
    const float x = rng.range(0, 640), y = rng.range(0, 480);
    fill(img, rotated(box(x - 4, y - 2, x + 4, y + 2, 1), x, y, rng.range(0, 180)), cols[static_cast<std::size_t>(i % 12)].base, 0.9f);
  }
  // A trophy with Bolo on top.
  const Color gold0 = rgb(255, 240, 150), gold1 = rgb(220, 140, 20);
  outlined(img, box(262, 400, 378, 430, 6), linear(0, 400, rgb(150, 100, 70), 0, 430, rgb(90, 50, 30)), kNavy, 3);
  outlined(img, box(300, 350, 340, 404, 4), linear(300, 0, gold0, 340, 0, gold1), kNavy, 3);
  outlined(img, ring(ellipse(250, 300, 26, 30), 6), linear(0, 270, gold0, 0, 330, gold1), kNavy, 3);
  outlined(img, ring(ellipse(390, 300, 26, 30), 6), linear(0, 270, gold0, 0, 330, gold1), kNavy, 3);
  outlined(img, unite(box(250, 262, 390, 290, 4), ellipse(320, 290, 70, 74)), linear(250, 0, gold0, 390, 0, gold1), kNavy, 3.5f);
  fill(img, intersect(ellipse(320, 290, 70, 74), box(250, 262, 390, 364)), rgb(0, 0, 0), 0.0f);
  fill(img, capsule(278, 280, 284, 330, 5), rgb(255, 255, 255), 0.5f);
  fill(img, star(320, 312, 22, 9, 5), rgb(255, 250, 200));
  drawBolo(img, 320, 232, 28, 0, -0.4f);
  drawText(img, Face::Display, fitSize(Face::Display, "WOW!", 100, 300, 80), "WOW!", 320, 64, goldStyle(5));
  TextStyle st = whiteText(3);
  drawText(img, Face::Display, fitSize(Face::Display, "ARCADE MODE BEATEN!", 44, 560, 36), "ARCADE MODE BEATEN!", 320, 132, st);
  drawText(img, Face::Display, 22, "PRESS RETURN", 320, 456, whiteText(2.5f));
  return img;
}

}  // namespace datagen
