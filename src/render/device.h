// The graphics device: window size and placement, the canvas, the frame
// protocol, and the presentation start-up.
#pragma once

#include "core/numeric.h"

namespace tw::render {

struct DisplaySettings {
  Integer WindowWidth = 800;
  Integer WindowHeight = 600;
  Integer CanvasWidth = 640;
  Integer CanvasHeight = 480;
  bool FullScreen = false;
};
extern DisplaySettings Display;

extern Single Pi;
extern Single DegToRad;

// Presentation start-up: window, device (full screen with one windowed
// retry), draw colour, keyboard, font description, text fonts, sounds and
// the texture catalogue behind the loading screen. True on success.
bool InitGraphics();
// Ends a frame's drawing: the save notice over it, then the canvas presented.
void EndFrame();
// Releases the device and every texture.
void ShutdownGraphics();

}  // namespace tw::render
