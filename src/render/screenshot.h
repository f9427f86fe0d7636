// Numbered screenshots of the game canvas.
#pragma once

#include <string>

namespace tw::render {

// The file the next screenshot goes to: application directory + "/screenshot"
// + the first free number with at least three digits + ".bmp".
std::string NextScreenshotPath();
// Saves the canvas, scaled to the window's client size (640 x 480 in full
// screen), under the next free name. Any failure ends it silently.
void TakeScreenshot();

}  // namespace tw::render
