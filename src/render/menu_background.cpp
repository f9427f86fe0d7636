#include "render/menu_background.h"

#include "config/options.h"
#include "render/catalogue.h"
#include "render/draw.h"

namespace tw::render {

Single BackgroundAngle = 0;

namespace {

Integer Pct(double alpha) { return num::CInt(alpha); }

void Sprite(Texture tex, double x, double y, double srcW, double srcH, double angle, double alpha,
            double w, double h) {
  DrawSprite(tex, static_cast<Single>(x), static_cast<Single>(y), static_cast<Single>(srcW),
             static_cast<Single>(srcH), static_cast<Single>(angle), Pct(alpha), static_cast<Single>(w),
             static_cast<Single>(h));
}

}  // namespace

void DrawMenuBackground(Single alpha) {
  if (!config::GameOptions.Details_High) {
    Sprite(TexBackgroundBlack, 0, 0, 1, 1, 0, Pct(static_cast<double>(alpha)), 640, 480);
    return;
  }
  BackgroundAngle += 1.0f / 5.0f;
  // Ten turns of the accumulator are a whole turn of both copies; wrapping
  // there keeps the angle exact in a long session.
  if (BackgroundAngle >= 3600.0f) BackgroundAngle -= 3600.0f;
  const double angle = static_cast<double>(BackgroundAngle);
  Sprite(TexLoad1, -155, -155, 640, 480, angle / 10.0, alpha, 950, 790);
  Sprite(TexLoad1, -155, -155, 640, 480, (45.0 - angle) / 10.0, Pct(static_cast<double>(alpha)) / 2, 950, 790);
}

}  // namespace tw::render
