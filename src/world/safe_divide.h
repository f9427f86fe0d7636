// Division by a divisor from the tuning file. A zero divisor (a missing or
// mistyped "..._DEVIDER" key) would give an infinite or NaN speed; the value
// then passes undivided, as if the divisor were 1. Any other quotient that
// is not finite is treated the same way.
#pragma once

#include <cmath>

#include "core/numeric.h"

namespace tw::world {

inline double SafeDivide(double value, double divisor) {
  if (divisor == 0.0) return value;
  const double q = value / divisor;
  return std::isfinite(q) ? q : value;
}

}  // namespace tw::world
