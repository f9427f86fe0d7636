// The shaft's shape in cells and pixels, and the canvas it is drawn on.
#pragma once

#include "core/numeric.h"

namespace tw::core {

inline constexpr int kGridColumns = 21;  // 0..20
inline constexpr int kGridRows = 5001;   // 0..5000
inline constexpr int kLastGridRow = kGridRows - 1;
// Rows below the last level that still belong to the shaft (the end zone).
inline constexpr int kEndZoneRows = 15;

inline constexpr Integer TileSize = 32;
inline constexpr Integer GridLeft = 80;  // canvas x of column 0
inline constexpr Integer CanvasWidth = 640;
inline constexpr Integer CanvasHeight = 480;

}  // namespace tw::core
