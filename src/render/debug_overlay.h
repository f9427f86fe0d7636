// The debug window's text and drawing, and the numbered screenshots.
#pragma once

#include <string>

#include "core/numeric.h"

namespace tw::render {

struct DebugWindowState {
  std::string Text;  // four lines, each ended by CR LF
  Single X = 0;      // top-left on the canvas; 0 until the window is placed
  Single Y = 0;
  Integer Width = 0;
  Integer Height = 0;
};
extern DebugWindowState DebugWindow;

// A world step: rebuilds the text while the window is visible (placing the
// window the first time).
void UpdateDebugText();
// Draws the window and the exit hint while it is visible.
void DrawDebugWindow();

}  // namespace tw::render
