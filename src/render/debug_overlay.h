// The debug window's text and the numbered screenshots.
#pragma once

namespace tw::render {

void UpdateDebugText();

}  // namespace tw::render
