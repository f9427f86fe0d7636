// Keyboard and window events from the platform. Without a window every call
// is a silent no-op.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace tw::platform {

// Starts tracking the keyboard. False when there is no window to read from.
bool OpenKeyboard();
// Fills a 256-entry table indexed by classic PC key codes: 128 for a key that
// is down now or was pressed since the previous read (a quick tap between two
// reads is never lost), 0 otherwise. Key repeat never reaches the table.
// False (table untouched) when there is no keyboard.
bool ReadKeyboardTable(std::array<std::uint8_t, 256>& table);
// The classic key code of an SDL scancode (0 for keys the game has no code for).
int KeyCodeFromScancode(int scancode);

struct WindowEvents {
  // The window was asked to close. Return true to let it close now, false to
  // cancel (the game then finishes its frame and shuts down in order).
  std::function<bool()> on_close;
  // Mouse button 1..3 went down (true) or up (false).
  std::function<void(int button, bool down)> on_mouse;
};
void SetWindowEvents(WindowEvents events);

// True when events are waiting to be processed.
bool InputPending();
// Processes every pending window event (a yield to the window system).
void PumpEvents();

}  // namespace tw::platform
