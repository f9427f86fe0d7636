#include "input/name_entry.h"

#include "input/keyboard.h"

namespace tw::input {

// Until name entry lands the scan only keeps the key table fresh.
void ScanNameKeys() { ReadKeyboard(); }

}  // namespace tw::input
