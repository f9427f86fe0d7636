// The application icon for desktop menus: Bolo peeking over a few rows of
// coloured tiles in the shaft, on a rounded square.
#include <algorithm>

#include "art.hpp"

namespace datagen {

Image appIcon(int size) {
  Image img(size, size);
  const float s = static_cast<float>(size) / 256.0f;  // drawn on a 256-unit grid
  const Color navy = rgb(16, 34, 96);
  const Sdf plate = box(8 * s, 8 * s, 248 * s, 248 * s, 44 * s);
  outlined(img, plate, linear(0, 8 * s, rgb(120, 190, 255), 0, 248 * s, rgb(40, 70, 150)), navy,
           std::max(1.5f, 6 * s));
  // Three rows of tiles across the bottom, clipped to the plate.
  const auto& colors = tileColors();
  const Sdf inner = grow(plate, -6 * s);
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 5; ++col) {
      const float x0 = (8 + static_cast<float>(col) * 50 - static_cast<float>((row % 2) * 25)) * s;
      const float y0 = (150 + static_cast<float>(row) * 36) * s;
      const Color c = colors[static_cast<std::size_t>((row * 5 + col * 3) % 12)].base;
      const Sdf tile = box(x0 + 2 * s, y0 + 2 * s, x0 + 48 * s, y0 + 34 * s, 6 * s);
      fillClipped(img, tile, inner, linear(0, y0, shade(c, 1.25f), 0, y0 + 34 * s, shade(c, 0.8f)));
    }
  }
  drawBolo(img, 128 * s, 104 * s, 62 * s, 0, 0.3f);
  return img;
}

}  // namespace datagen
