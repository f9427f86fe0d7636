// Numbered screenshots of the game canvas.
#pragma once

namespace tw::render {

// Saves the canvas as the next free "screenshot" + three digits + ".bmp" in
// the application directory.
void TakeScreenshot();

}  // namespace tw::render
