// The 32 x 32 shaft tiles and walls. Every material has its own silhouette
// and surface so it reads at a glance, whatever its colour.
#include <cmath>

#include "art.hpp"

namespace datagen {

namespace {
constexpr float T = 32.0f;
}

const std::vector<TileColor>& tileColors() {
  static const std::vector<TileColor> list = {
      {"green", rgb(96, 200, 62)},      {"greendark", rgb(34, 132, 64)}, {"blue", rgb(48, 124, 238)},
      {"blue2", rgb(104, 84, 226)},     {"bluedark", rgb(32, 58, 156)},  {"bluelight", rgb(96, 206, 248)},
      {"brown", rgb(156, 98, 52)},      {"orange", rgb(252, 152, 36)},   {"orangedark", rgb(214, 92, 24)},
      {"red", rgb(232, 52, 56)},        {"reddark", rgb(150, 26, 44)},   {"yellow", rgb(250, 214, 46)},
      {"bw", rgb(150, 150, 156)},
  };
  return list;
}

namespace {

Image plainTile(const Color& base) {
  Image img(32, 32);
  const Color dark = shade(base, 0.62f), light = shade(base, 1.38f), edge = shade(base, 0.38f);
  fill(img, box(0, 0, T, T, 3), edge);
  const Sdf inner = box(1, 1, T - 1, T - 1, 2.5f);
  fill(img, inner, dark);
  // The lit bevel: everything above the falling diagonal of the block.
  fillClipped(img, polygon({0, 0, T, 0, T - 5, 5, 5, T - 5, 0, T}), inner, solid(light));
  fill(img, box(5, 5, T - 5, T - 5, 1.5f), linear(0, 5, shade(base, 1.12f), 0, T - 5, shade(base, 0.9f)));
  fill(img, capsule(8, 8.5f, 14, 8.5f, 1.2f), rgb(255, 255, 255), 0.55f);
  fill(img, circle(17, 8.5f, 1.1f), rgb(255, 255, 255), 0.45f);
  return img;
}

Image mudTile(const Color& base, int seed) {
  Image img(32, 32);
  const Color mud = mix(shade(base, 0.5f), rgb(78, 52, 30), 0.4f);
  const Color edge = shade(mud, 0.45f);
  const Sdf lumpy = [seed](float x, float y) {
    const float wob = (valueNoise(x * 0.3f, y * 0.3f, seed) - 0.5f) * 2.2f;
    return box(0.5f, 0.5f, T - 0.5f, T - 0.5f, 4)(x, y) + wob * (y < 8 ? 1.0f : 0.4f);
  };
  fill(img, lumpy, edge);
  fill(img, grow(lumpy, -1.3f), [&](float x, float y) {
    const float n = fbm(x * 0.22f, y * 0.22f, seed + 5, 3);
    return mix(shade(mud, 0.78f + 0.1f * (1 - y / T)), shade(mud, 1.22f), n);
  });
  Rng rng(static_cast<std::uint32_t>(seed) * 7u + 3u);
  for (int i = 0; i < 16; ++i) {
    const float x = rng.range(4, 28), y = rng.range(5, 28), r = rng.range(0.7f, 1.5f);
    fill(img, circle(x, y, r), shade(mud, 0.5f), 0.85f);
  }
  for (int i = 0; i < 9; ++i) {
    const float x = rng.range(4, 28), y = rng.range(5, 28), r = rng.range(0.6f, 1.1f);
    fill(img, circle(x, y, r), shade(mud, 1.6f), 0.8f);
  }
  // A wet sheen along the top and two drips running down the face.
  fill(img, capsule(6, 4.5f, 20, 4.0f, 1.0f), rgb(255, 255, 255), 0.35f);
  fill(img, capsule(9, 2, 9, 9, 1.6f), shade(mud, 0.65f), 0.8f);
  fill(img, capsule(24, 2, 24, 7, 1.4f), shade(mud, 0.65f), 0.8f);
  return img;
}

Image gumTile(const Color& base) {
  Image img(32, 32);
  const Sdf body = box(1, 1, T - 1, T - 1, 9);
  fill(img, body, shade(base, 0.4f));
  fill(img, grow(body, -1.4f), radial(12, 10, 26, shade(base, 1.12f), shade(base, 0.72f)));
  fill(img, grow(body, -4.5f), radial(12, 10, 20, shade(base, 1.25f), base), 0.5f, 3.0f);
  fill(img, rotated(ellipse(11, 8.5f, 6.5f, 3.0f), 11, 8.5f, -25), rgb(255, 255, 255), 0.85f);
  fill(img, circle(22.5f, 7.5f, 1.5f), rgb(255, 255, 255), 0.85f);
  fill(img, circle(25, 21, 2.0f), rgb(255, 255, 255), 0.3f);
  fill(img, capsule(9, 26, 22, 26, 1.2f), shade(base, 1.5f), 0.45f);
  return img;
}

Image iceTile(const Color& base, int seed) {
  // Frozen: a pale block under a white frost cap with icicles, glinting.
  Image img(32, 32);
  const Color pale = mix(base, rgb(255, 255, 255), 0.55f);
  const Color edge = shade(mix(base, rgb(20, 50, 120), 0.35f), 0.7f);
  fill(img, box(0, 0, T, T, 2), edge);
  fill(img, box(1.2f, 1.2f, T - 1.2f, T - 1.2f, 1.5f), [&](float x, float y) {
    const float n = fbm(x * 0.2f, y * 0.2f, seed + 40, 3);
    return mix(shade(pale, 1.1f), shade(pale, 0.86f), 0.6f * (x + y) / (2 * T) + 0.4f * n);
  });
  fill(img, capsule(6, 23, 16, 13, 1.5f), rgb(255, 255, 255), 0.9f);
  fill(img, capsule(13, 26, 24, 15, 0.9f), rgb(255, 255, 255), 0.85f);
  fill(img, capsule(22, 27, 27, 22, 0.6f), rgb(255, 255, 255), 0.8f);
  fill(img, capsule(20, 18, 25, 21, 0.4f), edge, 0.5f);
  fill(img, capsule(25, 21, 27, 27, 0.4f), edge, 0.5f);
  const Sdf cap = [](float x, float y) {
    return y - (6.5f + 1.4f * std::sin(x * 0.9f) + 0.8f * std::sin(x * 2.3f + 1));
  };
  Sdf frost = intersect(cap, box(1.2f, 0, T - 1.2f, T, 1.5f));
  for (float ix : {8.0f, 15.0f, 24.0f}) frost = unite(frost, polygon({ix - 2, 6, ix + 2, 6, ix, ix == 15.0f ? 13.0f : 11.0f}));
  fill(img, frost, rgb(255, 255, 255));
  fill(img, intersect(grow(frost, 0.9f), box(1.2f, 0, T - 1.2f, T, 1.5f)), shade(pale, 0.85f), 0.35f);
  return img;
}

}  // namespace

Image tileGround(const Color& base, Material m, int seed) {
  switch (m) {
    case Material::Plain:
      return plainTile(base);
    case Material::Mud:
      return mudTile(base, seed);
    case Material::Gum:
      return gumTile(base);
    case Material::Ice:
      return iceTile(base, seed);
  }
  return plainTile(base);
}

Image tileGlass(bool grey) {
  // Drawn nearly transparent in the game, so the frame and glints are strong;
  // a window pane with a cross-bar so it never reads as ice.
  Image img(32, 32);
  const Color frame = grey ? rgb(70, 72, 84) : rgb(24, 88, 132);
  const Color pane = grey ? rgb(226, 228, 234) : rgb(196, 240, 255);
  fill(img, box(0, 0, T, T, 2), frame);
  fill(img, box(2.5f, 2.5f, T - 2.5f, T - 2.5f, 1), linear(0, 0, shade(pane, 1.1f), T, T, shade(pane, 0.95f)));
  fill(img, box(15, 2, 17, T - 2), frame, 0.8f);
  fill(img, box(2, 15, T - 2, 17), frame, 0.8f);
  fill(img, capsule(5, 11, 11, 5, 1.4f), rgb(255, 255, 255));
  fill(img, capsule(21, 27, 27, 21, 1.4f), rgb(255, 255, 255));
  fill(img, capsule(20, 12, 24, 8, 0.7f), rgb(255, 255, 255));
  return img;
}

Image tileStone() {
  Image img(32, 32);
  const Color mortar = rgb(66, 68, 76);
  fill(img, box(0, 0, T, T, 2), rgb(40, 42, 48));
  fill(img, box(1, 1, T - 1, T - 1, 1.5f), mortar);
  struct Cobble {
    float x, y, rx, ry, turn;
  };
  const Cobble cs[] = {{9, 8.5f, 7.2f, 6.0f, 10}, {23.5f, 8, 6.8f, 6.2f, -15}, {7.5f, 22.5f, 6.2f, 7.2f, 5},
                       {21.5f, 23, 8.6f, 6.8f, 8}};
  int i = 0;
  for (const auto& c : cs) {
    const Sdf sh = rotated(ellipse(c.x, c.y, c.rx, c.ry), c.x, c.y, c.turn);
    const float tint = 0.94f + 0.06f * static_cast<float>(i++ % 2);
    fill(img, sh, rgb(48, 50, 56));
    fill(img, grow(sh, -1.1f),
         radial(c.x - 2.5f, c.y - 2.5f, c.rx * 1.6f, shade(rgb(198, 198, 204), tint), rgb(118, 120, 130)));
    fill(img, capsule(c.x - 3, c.y - 3, c.x, c.y - 4, 0.9f), rgb(255, 255, 255), 0.55f);
  }
  return img;
}

Image wallBricks() {
  Image img(32, 32);
  fill(img, box(0, 0, T, T), rgb(214, 198, 172));
  Rng rng(51);
  for (int row = 0; row < 4; ++row) {
    const float y0 = static_cast<float>(row) * 8.0f;
    const float off = (row % 2) ? -8.0f : 0.0f;
    for (int col = 0; col < 3; ++col) {
      const float x0 = off + static_cast<float>(col) * 16.0f;
      const Color brick = shade(rgb(196, 74, 52), 0.9f + 0.2f * rng.uniform());
      const Sdf b = box(x0 + 1, y0 + 1, x0 + 16, y0 + 8, 1);
      fill(img, b, shade(brick, 0.6f));
      fill(img, box(x0 + 1, y0 + 1, x0 + 15.2f, y0 + 7, 1), linear(0, y0, shade(brick, 1.2f), 0, y0 + 8, brick));
      fill(img, capsule(x0 + 3, y0 + 2.5f, x0 + 9, y0 + 2.5f, 0.6f), rgb(255, 255, 255), 0.3f);
    }
  }
  return img;
}

Image wallBricks2(bool grey) {
  Image img(32, 32);
  const Color stone = grey ? rgb(170, 170, 176) : rgb(226, 186, 112);
  fill(img, box(0, 0, T, T), shade(stone, 0.45f));
  for (int row = 0; row < 2; ++row) {
    const float y0 = static_cast<float>(row) * 16.0f;
    const float off = row ? -12.0f : 0.0f;
    for (int col = 0; col < 3; ++col) {
      const float x0 = off + static_cast<float>(col) * 24.0f;
      const Color c = shade(stone, col % 2 ? 0.94f : 1.0f);
      fill(img, box(x0 + 1, y0 + 1, x0 + 24, y0 + 16, 1.5f), shade(c, 0.65f));
      fill(img, box(x0 + 1, y0 + 1, x0 + 22.5f, y0 + 14.5f, 1.5f), shade(c, 1.28f));
      fill(img, box(x0 + 3, y0 + 3, x0 + 22, y0 + 14, 1), linear(0, y0, shade(c, 1.06f), 0, y0 + 16, shade(c, 0.9f)));
    }
  }
  // A few weathered pits so the surface reads as stone.
  const float pits[][2] = {{6, 9}, {19, 5}, {27, 11}, {9, 25}, {24, 23}, {15, 28}};
  for (const auto& p : pits) fill(img, circle(p[0], p[1], 0.9f), shade(stone, 0.6f), 0.8f);
  return img;
}

Image wallWood(bool grey) {
  Image img(32, 32);
  const Color wood = grey ? rgb(150, 146, 142) : rgb(178, 114, 58);
  fill(img, box(0, 0, T, T), shade(wood, 0.4f));
  for (int p = 0; p < 3; ++p) {
    const float y0 = static_cast<float>(p) * 32.0f / 3.0f;
    const float y1 = y0 + 32.0f / 3.0f;
    const Color c = shade(wood, p == 1 ? 0.92f : 1.0f);
    fill(img, box(0, y0 + 0.8f, T, y1 - 0.6f, 1.2f), [&, p](float x, float y) {
      const float grain = std::sin(x * 0.45f + std::sin(y * 1.7f + static_cast<float>(p) * 2) * 1.6f +
                                   static_cast<float>(p) * 3);
      return mix(shade(c, 1.15f), shade(c, 0.82f), 0.5f + 0.5f * grain * grain * grain);
    });
    fill(img, capsule(2, y0 + 2, 30, y0 + 2, 0.5f), rgb(255, 255, 255), 0.25f);
    for (float nx : {4.0f, 28.0f}) {
      fill(img, circle(nx, (y0 + y1) / 2, 1.3f), grey ? rgb(60, 60, 64) : rgb(70, 60, 60));
      fill(img, circle(nx - 0.4f, (y0 + y1) / 2 - 0.4f, 0.5f), rgb(230, 230, 230), 0.8f);
    }
  }
  return img;
}

Image wallMetal() {
  Image img(32, 32);
  fill(img, box(0, 0, T, T, 1.5f), rgb(60, 66, 80));
  fill(img, box(1, 1, T - 1, T - 1, 1), linear(0, 0, rgb(226, 232, 240), T, T, rgb(128, 136, 152)));
  fill(img, box(3.5f, 3.5f, T - 3.5f, T - 3.5f, 1), linear(0, 0, rgb(176, 184, 198), T, T, rgb(206, 212, 222)));
  fill(img, polygon({6, 26, 26, 6, 28, 8, 8, 28}), rgb(255, 255, 255), 0.35f);
  for (float x : {6.5f, 25.5f})
    for (float y : {6.5f, 25.5f}) {
      fill(img, circle(x, y, 2.2f), rgb(70, 76, 92));
      fill(img, circle(x, y, 1.5f), radial(x - 0.6f, y - 0.6f, 2.2f, rgb(250, 250, 255), rgb(130, 138, 156)));
    }
  return img;
}

Image wallGround() {
  Image img(32, 32);
  fill(img, box(0, 0, T, T), [](float x, float y) {
    const float n = fbm(x * 0.18f, y * 0.18f, 91, 4);
    return mix(rgb(96, 62, 34), rgb(150, 102, 60), n);
  });
  Rng rng(77);
  for (int i = 0; i < 7; ++i) {
    const float x = rng.range(3, 29), y = rng.range(3, 29), r = rng.range(1.2f, 2.4f);
    fill(img, circle(x, y, r), rgb(72, 56, 44));
    fill(img, circle(x - 0.3f, y - 0.3f, r - 0.7f), rgb(168, 150, 130));
  }
  return img;
}

}  // namespace datagen
