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

// Game controllers, through the window system's controller database (pads
// it knows nothing about are ignored, with one note on stderr). Any number
// may be plugged in and out while the game runs; their buttons are combined.
struct PadButtons {
  bool up = false, down = false, left = false, right = false;  // D-pad or left stick
  bool a = false, b = false, x = false;                         // south, east, west
  bool start = false, back = false;
};
// Starts controller support and opens the controllers already present.
// False when there is no window (headless) or the subsystem cannot start.
bool OpenControllers();
// Fills `pads` with the buttons held on any controller now or pressed since
// the previous read (a quick press is never lost). False when no controller
// is open (`pads` then reads all up).
bool ReadPads(PadButtons& pads);
void CloseControllers();
int ConnectedPads();

struct WindowEvents {
  // The window was asked to close. Return true to let it close now, false to
  // cancel (the game then finishes its frame and shuts down in order).
  std::function<bool()> on_close;
  // Mouse button 1..3 went down (true) or up (false).
  std::function<void(int button, bool down)> on_mouse;
  // Alt+Enter or F11 was pressed: switch between window and full screen.
  std::function<void()> on_toggle_full_screen;
  // The window lost the keyboard focus, or a controller was unplugged.
  std::function<void()> on_focus_lost;
  std::function<void()> on_pad_removed;
};
void SetWindowEvents(WindowEvents events);

// True when events are waiting to be processed.
bool InputPending();
// Processes every pending window event (a yield to the window system).
void PumpEvents();

}  // namespace tw::platform
