// Typing a name for the high-score table.
#pragma once

namespace tw::input {

void ScanNameKeys();

}  // namespace tw::input
