// The menu: its screens, items and input.
#pragma once

namespace tw::frontend {

// One menu frame: input, drawing, present.
void MenuFrame();

}  // namespace tw::frontend
