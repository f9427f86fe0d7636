// The creature, bonuses, drills, clouds, effects and small game-screen parts.
#include <algorithm>
#include <cmath>

#include "art.hpp"
#include "text.hpp"

namespace datagen {

namespace {
constexpr float kPi = 3.14159265f;
const Color kNavy = rgb(16, 34, 96);
const Color kWhite = rgb(255, 255, 255);

void sparkle(Image& img, float x, float y, float r, const Color& c, float opacity = 1.0f) {
  fill(img, star(x, y, r, r * 0.28f, 4), c, opacity);
}
}  // namespace

void drawBolo(Image& img, float cx, float cy, float r, float lookX, float lookY, bool happy) {
  const float k = r / 13.5f;  // the 32 x 32 sprite has a body radius of 13.5
  const float ow = std::max(1.2f, 1.3f * k);
  for (float side : {-1.0f, 1.0f}) {
    const Sdf foot = ellipse(cx + side * 5.5f * k, cy + 12.5f * k, 4.4f * k, 2.4f * k);
    outlined(img, foot, solid(rgb(40, 92, 200)), kNavy, ow);
  }
  const Sdf body = circle(cx, cy, r);
  outlined(img, body, [=](float x, float y) {
    const float t = std::hypot(x - (cx - 5 * k), y - (cy - 6 * k)) / (r * 1.9f);
    return t < 0.5f ? mix(rgb(140, 204, 255), rgb(56, 140, 240), t * 2) : mix(rgb(56, 140, 240), rgb(26, 84, 200), (t - 0.5f) * 2);
  }, kNavy, ow);
  fill(img, rotated(ellipse(cx - 6 * k, cy - 7 * k, 3.6f * k, 2.2f * k), cx - 6 * k, cy - 7 * k, -35), kWhite, 0.7f);
  for (float side : {-1.0f, 1.0f})
    fill(img, ellipse(cx + side * 8.5f * k, cy + 5.5f * k, 2.2f * k, 1.4f * k), rgb(255, 140, 190), 0.55f);
  // Eyes: tall ovals side by side, pupils looking where asked.
  for (float side : {-1.0f, 1.0f}) {
    const float ex = cx + side * 3.5f * k, ey = cy - 3 * k;
    outlined(img, ellipse(ex, ey, 3.3f * k, 6.3f * k), solid(kWhite), kNavy, std::max(0.9f, 0.9f * k));
    const float px = ex + lookX * 1.2f * k, py = ey + 0.5f * k + lookY * 2.5f * k;
    fill(img, circle(px, py, 2.3f * k), rgb(12, 14, 30));
    fill(img, circle(px + 0.8f * k, py - 0.9f * k, 0.75f * k), kWhite);
  }
  if (happy) {
    const Sdf arc = intersect(ring(circle(cx, cy + 5.0f * k, 2.8f * k), 0.65f * k), box(cx - 9 * k, cy + 5.6f * k, cx + 9 * k, cy + 12 * k));
    fill(img, arc, kNavy);
  } else {
    fill(img, ellipse(cx, cy + 8 * k, 1.8f * k, 2.2f * k), kNavy);
  }
}

Image boloBody() {
  // No eyes: the game draws them from the eye sheet so they can squint and look down.
  Image img(32, 32);
  const float cx = 16, cy = 16.5f, r = 13.5f;
  for (float side : {-1.0f, 1.0f})
    outlined(img, ellipse(cx + side * 5.5f, 29.2f, 4.4f, 2.4f), solid(rgb(40, 92, 200)), kNavy, 1.2f);
  outlined(img, circle(cx, cy, r), [=](float x, float y) {
    const float t = std::hypot(x - (cx - 5), y - (cy - 6)) / (r * 1.9f);
    return t < 0.5f ? mix(rgb(140, 204, 255), rgb(56, 140, 240), t * 2) : mix(rgb(56, 140, 240), rgb(26, 84, 200), (t - 0.5f) * 2);
  }, kNavy, 1.2f);
  fill(img, rotated(ellipse(8.5f, 7.5f, 3.2f, 1.8f), 8.5f, 7.5f, -35), kWhite, 0.75f);
  fill(img, ellipse(6.8f, 22.5f, 1.9f, 1.3f), rgb(255, 140, 190), 0.6f);
  fill(img, ellipse(25.2f, 22.5f, 1.9f, 1.3f), rgb(255, 140, 190), 0.6f);
  fill(img, intersect(ring(circle(16, 22.6f, 2.6f), 0.6f), box(10, 23.2f, 22, 28)), kNavy);
  return img;
}

// Layout: eye whites in the 14 x 16 top-left part, the two pupils in the
// 12 x 7 strip at (1, 19), the left ear in the 16 x 16 square at (16, 0) and
// the right ear in the one at (16, 16), each rooted at its inner lower corner.
Image boloEyes() {
  Image img(32, 32);
  for (float ex : {3.5f, 10.5f}) outlined(img, ellipse(ex, 8, 3.3f, 6.4f), solid(kWhite), kNavy, 0.9f);
  for (float px : {3.5f, 10.5f}) {
    fill(img, circle(px, 22.5f, 2.4f), rgb(12, 14, 30));
    fill(img, circle(px + 0.8f, 21.6f, 0.7f), kWhite);
  }
  auto ear = [&](float cx, float cy, float turn) {
    const Sdf outer = rotated(ellipse(cx, cy, 4.3f, 7.2f), cx, cy, turn);
    outlined(img, outer, linear(cx - 4, cy - 6, rgb(120, 190, 255), cx + 4, cy + 6, rgb(36, 104, 220)), kNavy, 1.0f);
    fill(img, rotated(ellipse(cx, cy + 0.8f, 2.2f, 4.8f), cx, cy, turn), rgb(255, 150, 196));
  };
  ear(24.5f, 7.8f, 28);
  ear(23.5f, 23.8f, -28);
  return img;
}

Image bonusBomb() {
  Image img(32, 32);
  const Sdf cap = rotated(box(19, 6, 26, 11, 1), 22.5f, 8.5f, 40);
  outlined(img, cap, linear(19, 6, rgb(190, 196, 210), 26, 11, rgb(90, 96, 110)), rgb(10, 10, 16), 1.0f);
  outlined(img, circle(14.5f, 19, 10.5f), radial(11, 15, 15, rgb(104, 106, 130), rgb(14, 14, 24)), rgb(0, 0, 0), 1.2f);
  fill(img, rotated(ellipse(10.5f, 14, 3.6f, 2.2f), 10.5f, 14, -40), kWhite, 0.75f);
  fill(img, capsule(24, 6, 26.5f, 3.5f, 1.1f), rgb(214, 180, 120));
  sparkle(img, 27, 3.5f, 4.2f, rgb(255, 150, 30));
  sparkle(img, 27, 3.5f, 2.4f, rgb(255, 246, 160));
  return img;
}

Image bonusPie() {
  Image img(32, 32);
  const Color crust = rgb(236, 170, 78), dark = rgb(120, 66, 24);
  // Tin, filling, crust with a lattice and a scalloped rim, and a cherry.
  outlined(img, polygon({3, 16, 29, 16, 26, 27, 6, 27}), linear(0, 16, rgb(214, 220, 230), 0, 27, rgb(140, 146, 160)), rgb(60, 60, 72), 1.1f);
  const Sdf top = ellipse(16, 15.5f, 13.5f, 6.5f);
  outlined(img, top, radial(12, 13, 16, shade(crust, 1.2f), shade(crust, 0.85f)), dark, 1.1f);
  const Sdf inside = grow(top, -2.6f);
  fill(img, inside, rgb(190, 40, 60));
  for (float off : {-8.0f, -3.0f, 2.0f, 7.0f}) {
    fillClipped(img, capsule(16 + off - 5, 10, 16 + off + 5, 21, 1.1f), inside, solid(crust));
    fillClipped(img, capsule(16 + off + 5, 10, 16 + off - 5, 21, 1.1f), inside, solid(shade(crust, 1.1f)));
  }
  for (int i = 0; i < 14; ++i) {
    const float a = static_cast<float>(i) * 2 * kPi / 14;
    fill(img, circle(16 + 12.3f * std::cos(a), 15.5f + 5.6f * std::sin(a), 1.6f), shade(crust, 1.1f));
  }
  outlined(img, circle(17, 8.5f, 3.3f), radial(16, 7.5f, 4, rgb(255, 90, 100), rgb(170, 10, 30)), rgb(90, 0, 16), 1.0f);
  fill(img, capsule(17, 5.5f, 20, 1.5f, 0.6f), rgb(70, 140, 40));
  fill(img, circle(15.9f, 7.4f, 0.9f), kWhite, 0.9f);
  return img;
}

Image bonusBoot() {
  Image img(32, 32);
  const Color leather = rgb(216, 72, 44);
  const Sdf shape = unite(box(8, 3, 20, 24, 2.5f), box(8, 15, 28, 27, 5.5f));
  outlined(img, shape, linear(8, 3, shade(leather, 1.25f), 26, 27, shade(leather, 0.75f)), rgb(70, 16, 10), 1.3f);
  outlined(img, box(7, 24.5f, 29, 29.5f, 2), solid(rgb(60, 40, 36)), rgb(30, 16, 12), 1.0f);
  outlined(img, box(6.5f, 2, 21.5f, 7, 2), solid(rgb(255, 232, 150)), rgb(110, 70, 20), 1.0f);
  for (int i = 0; i < 3; ++i) {
    const float y = 10.0f + static_cast<float>(i) * 4.0f;
    fill(img, capsule(15, y, 19, y + 2.2f, 0.6f), kWhite, 0.9f);
    fill(img, capsule(19, y, 15, y + 2.2f, 0.6f), kWhite, 0.9f);
  }
  fill(img, capsule(10.5f, 9, 10.5f, 20, 1.0f), kWhite, 0.4f);
  // Little speed lines: the boot makes Bolo quick.
  fill(img, capsule(1, 12, 5, 12, 0.8f), rgb(255, 255, 255), 0.9f);
  fill(img, capsule(2, 17, 5, 17, 0.8f), rgb(255, 255, 255), 0.9f);
  return img;
}

Image bonusGlassBomb() {
  Image img(32, 32);
  const Sdf cap = rotated(box(19, 6, 26, 11, 1), 22.5f, 8.5f, 40);
  outlined(img, cap, linear(19, 6, rgb(220, 240, 255), 26, 11, rgb(110, 150, 180)), rgb(20, 80, 120), 1.0f);
  const Sdf ball = circle(14.5f, 19, 10.5f);
  fill(img, ball, rgb(20, 110, 160));
  fill(img, grow(ball, -1.3f), radial(11, 15, 15, rgb(230, 252, 255, 0.75f), rgb(120, 210, 250, 0.55f)));
  fill(img, ring(circle(14.5f, 19, 6.5f), 0.7f), rgb(255, 255, 255), 0.35f);
  fill(img, rotated(ellipse(10.5f, 14, 3.8f, 2.2f), 10.5f, 14, -40), kWhite, 0.95f);
  fill(img, circle(19, 24, 1.2f), kWhite, 0.8f);
  fill(img, capsule(24, 6, 26.5f, 3.5f, 1.1f), rgb(214, 180, 120));
  sparkle(img, 27, 3.5f, 4.2f, rgb(120, 220, 255));
  sparkle(img, 27, 3.5f, 2.4f, kWhite);
  return img;
}

Image bonusEars() {
  Image img(32, 32);
  auto ear = [&](float cx, float cy, float turn) {
    const Sdf outer = rotated(ellipse(cx, cy, 6.0f, 11.5f), cx, cy, turn);
    outlined(img, outer, linear(cx - 6, cy - 10, rgb(130, 196, 255), cx + 6, cy + 10, rgb(30, 96, 214)), kNavy, 1.3f);
    fill(img, rotated(ellipse(cx, cy + 1.2f, 3.2f, 8.0f), cx, cy, turn), rgb(255, 150, 196));
    fill(img, rotated(ellipse(cx - 2, cy - 5, 1.2f, 3.0f), cx, cy, turn), kWhite, 0.6f);
  };
  ear(9.5f, 14, -22);
  ear(22.5f, 14, 22);
  outlined(img, ellipse(16, 28, 8, 3.4f), solid(rgb(56, 140, 240)), kNavy, 1.1f);
  sparkle(img, 16, 6, 3.5f, rgb(255, 240, 120));
  return img;
}

Image bonusSelection() {
  Image img(32, 32);
  fill(img, ring(circle(16, 16, 12), 1.2f), rgb(255, 236, 120), 0.8f, 3.0f);
  fill(img, ring(circle(16, 16, 12), 0.7f), rgb(255, 255, 220), 0.9f);
  for (int i = 0; i < 4; ++i) {
    const float a = static_cast<float>(i) * kPi / 2 + kPi / 4;
    sparkle(img, 16 + 12 * std::cos(a), 16 + 12 * std::sin(a), 3.6f, rgb(255, 255, 255));
  }
  return img;
}

Image drill() {
  Image img(32, 32);
  const Color edge = rgb(30, 34, 48);
  const Sdf cone = polygon({6, 7, 26, 7, 16.5f, 31.5f, 15.5f, 31.5f});
  outlined(img, cone, linear(6, 0, rgb(236, 240, 248), 26, 0, rgb(110, 118, 140)), edge, 1.2f);
  for (int i = 0; i < 4; ++i) {
    const float y = 10.0f + static_cast<float>(i) * 5.2f;
    fillClipped(img, capsule(6, y, 26, y + 4.5f, 0.9f), grow(cone, -1.2f), solid(rgb(70, 76, 98)));
  }
  fill(img, capsule(10, 9, 15, 23, 0.8f), kWhite, 0.6f);
  outlined(img, box(4, 0, 28, 8, 1.5f), linear(0, 0, rgb(255, 210, 80), 0, 8, rgb(200, 120, 20)), edge, 1.2f);
  fill(img, capsule(7, 2.5f, 18, 2.5f, 0.7f), kWhite, 0.7f);
  return img;
}

Image clouds() {
  Image img(256, 192);
  auto cloud = [&](float ox, float oy, float w, float h) {
    // Puffs along the top, a flat-ish bottom.
    const float bottom = oy + h - 6;
    Sdf s = box(ox + 18, oy + h * 0.55f, ox + w - 18, bottom, (bottom - oy - h * 0.55f) / 2);
    const float puffs[][3] = {{0.17f, 0.62f, 0.21f}, {0.36f, 0.42f, 0.30f}, {0.58f, 0.36f, 0.34f},
                              {0.78f, 0.52f, 0.26f}, {0.9f, 0.7f, 0.13f},   {0.08f, 0.76f, 0.11f}};
    for (const auto& p : puffs) s = unite(s, circle(ox + p[0] * w, oy + p[1] * h, p[2] * h));
    s = intersect(s, box(ox + 3, oy + 3, ox + w - 3, bottom));
    outlined(img, s, linear(0, oy, rgb(255, 255, 255), 0, bottom, rgb(206, 222, 246)), rgb(150, 176, 220), 2.0f);
    fill(img, intersect(grow(s, -8), box(ox, oy, ox + w, oy + h * 0.5f)), kWhite, 0.6f, 4.0f);
  };
  cloud(0, 0, 217, 92);
  cloud(0, 95, 189, 82);
  return img;
}

Image particles() {
  Image img(64, 32);
  const float puffs[][3] = {{13, 16, 6.5f}, {20, 14, 6}, {16, 20, 6}, {10, 11, 4.5f}, {22, 20, 4.5f}};
  for (const auto& p : puffs) fill(img, circle(p[0], p[1], p[2]), rgb(236, 232, 224), 0.55f, 3.0f);
  for (const auto& p : puffs) fill(img, circle(p[0] - 1, p[1] - 1, p[2] * 0.5f), kWhite, 0.35f, 3.0f);
  const Sdf fleck = polygon({40, 10, 48, 6, 56, 11, 57, 20, 50, 26, 41, 23, 38, 16});
  outlined(img, grow(fleck, 0.5f), radial(44, 11, 16, rgb(255, 255, 255), rgb(196, 210, 226)), rgb(120, 132, 150), 1.0f);
  fill(img, capsule(43, 11, 47, 9.5f, 0.9f), kWhite, 0.9f);
  return img;
}

Image explosion() {
  Image img(134, 128);
  const float cx = 67, cy = 64;
  fill(img, star(cx, cy, 62, 40, 14), rgb(255, 90, 30), 0.85f, 3.0f);
  fill(img, star(cx, cy, 50, 30, 11, 12), rgb(255, 170, 40), 0.95f, 2.0f);
  fill(img, star(cx, cy, 36, 22, 9, 5), rgb(255, 236, 110), 1.0f, 1.5f);
  fill(img, circle(cx, cy, 17), kWhite, 1.0f, 5.0f);
  return img;
}

Image arrow() {
  Image img(32, 32);
  const Sdf shape = polygon({11, 2, 21, 2, 21, 14, 28, 14, 16, 29, 4, 14, 11, 14});
  outlined(img, shape, linear(0, 2, rgb(255, 246, 140), 0, 29, rgb(255, 150, 20)), rgb(110, 50, 0), 1.4f);
  fill(img, capsule(13.5f, 5, 13.5f, 14, 0.9f), kWhite, 0.7f);
  return img;
}

Image weightIcon() {
  Image img(32, 32);
  fill(img, ring(ellipse(16, 9, 6.5f, 6), 2.0f), rgb(30, 32, 40));
  fill(img, ring(ellipse(16, 9, 6.5f, 6), 1.0f), rgb(150, 154, 170));
  const Sdf body = polygon({7, 13, 25, 13, 30, 30, 2, 30});
  outlined(img, grow(body, 0.5f), linear(2, 13, rgb(150, 156, 176), 30, 30, rgb(56, 60, 76)), rgb(18, 20, 28), 1.2f);
  fill(img, capsule(8, 16, 6, 26, 0.9f), kWhite, 0.45f);
  TextStyle st;
  st.top = rgb(255, 236, 120);
  st.bottom = rgb(255, 190, 60);
  drawText(img, Face::Sans, 10, "KG", 16.5f, 22.5f, st);
  return img;
}

Image butterfly(int kind) {
  static const Color wings[5][2] = {{rgb(255, 160, 40), rgb(255, 230, 120)},
                                    {rgb(60, 140, 255), rgb(170, 230, 255)},
                                    {rgb(255, 90, 170), rgb(255, 200, 230)},
                                    {rgb(250, 220, 40), rgb(255, 255, 190)},
                                    {rgb(90, 200, 80), rgb(210, 255, 170)}};
  const Color a = wings[kind % 5][0], b = wings[kind % 5][1];
  const Color edge = rgb(40, 24, 40);
  Image img(32, 32);
  // Seen from above, head to the top of the picture.
  for (float side : {-1.0f, 1.0f}) {
    const float ux = 16 + side * 7.5f, lx = 16 + side * 6.0f;
    outlined(img, rotated(ellipse(ux, 11.5f, 7.0f, 5.8f), ux, 11.5f, side * 28), radial(16, 14, 14, b, a), edge, 1.1f);
    outlined(img, rotated(ellipse(lx, 21.5f, 4.8f, 4.4f), lx, 21.5f, -side * 20), radial(16, 18, 10, b, a), edge, 1.1f);
    fill(img, circle(16 + side * 9.5f, 10, 1.5f), kWhite, 0.9f);
    fill(img, circle(16 + side * 6.5f, 22.5f, 1.1f), kWhite, 0.8f);
    fill(img, capsule(16 + side * 1, 6.5f, 16 + side * 4.5f, 1.5f, 0.5f), edge);
    fill(img, circle(16 + side * 4.5f, 1.5f, 1.1f), edge);
  }
  fill(img, capsule(16, 7, 16, 26, 1.7f), edge);
  fill(img, circle(16, 6.5f, 2.0f), edge);
  return img;
}

Image sidebar(bool horizontal) {
  // Light so the game's red and green tints show true; shaded like a tube.
  const int w = horizontal ? 128 : 32, h = horizontal ? 32 : 128;
  Image img(w, h);
  fill(img, [=](float x, float y) {
    const float across = horizontal ? y : x;
    return std::fabs(across - 16) - 12;
  }, [=](float x, float y) {
    const float across = (horizontal ? y : x) - 4;
    const float t = across / 24;
    const float lit = 0.72f + 0.28f * std::sin(std::clamp(t, 0.0f, 1.0f) * kPi * 0.9f + 0.25f);
    const float streak = std::exp(-std::pow((t - 0.3f) * 9, 2.0f)) * 0.5f;
    return mix(shade(rgb(255, 255, 255), lit), kWhite, streak);
  });
  return img;
}

Image background(const Color& c) {
  Image img(32, 32);
  img.clear(c);
  return img;
}

Image debugWindow() {
  Image img(129, 257);
  fill(img, box(0, 0, 129, 257), rgb(150, 190, 255));
  fill(img, box(3, 3, 126, 254), linear(0, 0, rgb(28, 44, 96), 0, 257, rgb(8, 14, 40)));
  for (int y = 6; y < 252; y += 4) fill(img, box(4, static_cast<float>(y), 125, static_cast<float>(y) + 1), rgb(255, 255, 255), 0.04f);
  return img;
}

}  // namespace datagen
