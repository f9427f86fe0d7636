#include "platform/input.h"

#include <SDL.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/video.h"

namespace tw::platform {

namespace {

bool g_keyboard_open = false;
WindowEvents g_events;
// The key table is kept by the key events alone (no snapshot of the device
// besides them, which a browser would not offer): keys held now ...
std::array<bool, 256> g_held{};
// ... and keys pressed since the last read, so a press and release between
// two reads still shows as down once.
std::array<bool, 256> g_pressed_since_read{};
// Alt+Enter or F11 seen; acted on at the next yield, between frames.
bool g_toggle_requested = false;

bool AltHeld(Uint16 mod) { return (mod & KMOD_ALT) != 0; }

void NoteKeyDown(const SDL_KeyboardEvent& key) {
  if (key.repeat != 0) return;
  const SDL_Scancode sc = key.keysym.scancode;
  const int code = KeyCodeFromScancode(sc);
  const bool enter = sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER;
  if (sc == SDL_SCANCODE_F11 || (enter && AltHeld(key.keysym.mod))) {
    // The window switch is not a game key: Alt+Enter must not also confirm a
    // menu item. Its Return never enters the table, so it cannot read as
    // Return whichever of the two keys is let go first.
    g_toggle_requested = true;
    return;
  }
  if (code <= 0) return;
  g_held[static_cast<std::size_t>(code)] = true;
  g_pressed_since_read[static_cast<std::size_t>(code)] = true;
}

void NoteKeyUp(const SDL_KeyboardEvent& key) {
  const int code = KeyCodeFromScancode(key.keysym.scancode);
  if (code <= 0) return;
  g_held[static_cast<std::size_t>(code)] = false;
}

void NoteKey(const SDL_Event& e) {
  if (!g_keyboard_open) return;
  if (e.type == SDL_KEYDOWN) NoteKeyDown(e.key);
  if (e.type == SDL_KEYUP) NoteKeyUp(e.key);
}

// --- controllers ---------------------------------------------------------

bool g_pads_started = false;
std::vector<SDL_GameController*> g_pads;
PadButtons g_pad_pressed;  // pressed since the last read
std::set<std::string> g_unmapped_noted;

// The stick counts as the D-pad past about a third of its travel.
constexpr Sint16 kStickThreshold = 12000;

void OpenPad(int device_index) {
  if (SDL_IsGameController(device_index) == SDL_FALSE) {
    const char* name = SDL_JoystickNameForIndex(device_index);
    const std::string n = name != nullptr ? name : "unnamed";
    if (g_unmapped_noted.insert(n).second) {
      std::fprintf(stderr, "tumblewell: controller \"%s\" is not known to SDL's controller database; it is ignored\n",
                   n.c_str());
    }
    return;
  }
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
  for (SDL_GameController* pad : g_pads) {
    if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id) return;  // already open
  }
  if (SDL_GameController* pad = SDL_GameControllerOpen(device_index)) g_pads.push_back(pad);
}

// True when the controller was one of ours.
bool ClosePad(SDL_JoystickID id) {
  for (auto it = g_pads.begin(); it != g_pads.end(); ++it) {
    if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) == id) {
      SDL_GameControllerClose(*it);
      g_pads.erase(it);
      return true;
    }
  }
  return false;
}

void NotePadButton(Uint8 button) {
  PadButtons& p = g_pad_pressed;
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: p.up = true; break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: p.down = true; break;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: p.left = true; break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: p.right = true; break;
    case SDL_CONTROLLER_BUTTON_A: p.a = true; break;
    case SDL_CONTROLLER_BUTTON_B: p.b = true; break;
    case SDL_CONTROLLER_BUTTON_X: p.x = true; break;
    case SDL_CONTROLLER_BUTTON_START: p.start = true; break;
    case SDL_CONTROLLER_BUTTON_BACK: p.back = true; break;
    default: break;
  }
}

// Controller events; returns true for a controller that went away.
bool HandlePadEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: OpenPad(e.cdevice.which); return false;
    case SDL_CONTROLLERDEVICEREMOVED: return ClosePad(e.cdevice.which);
    case SDL_CONTROLLERBUTTONDOWN: NotePadButton(e.cbutton.button); return false;
    default: return false;
  }
}

void PadRemoved() {
  if (g_events.on_pad_removed) g_events.on_pad_removed();
}

int MouseButtonCode(Uint8 sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
  }
}

}  // namespace

int KeyCodeFromScancode(int scancode) {
  switch (scancode) {
    case SDL_SCANCODE_ESCAPE: return 1;
    case SDL_SCANCODE_1: return 2;
    case SDL_SCANCODE_2: return 3;
    case SDL_SCANCODE_3: return 4;
    case SDL_SCANCODE_4: return 5;
    case SDL_SCANCODE_5: return 6;
    case SDL_SCANCODE_6: return 7;
    case SDL_SCANCODE_7: return 8;
    case SDL_SCANCODE_8: return 9;
    case SDL_SCANCODE_9: return 10;
    case SDL_SCANCODE_0: return 11;
    case SDL_SCANCODE_MINUS: return 12;
    case SDL_SCANCODE_EQUALS: return 13;
    case SDL_SCANCODE_BACKSPACE: return 14;
    case SDL_SCANCODE_TAB: return 15;
    case SDL_SCANCODE_Q: return 16;
    case SDL_SCANCODE_W: return 17;
    case SDL_SCANCODE_E: return 18;
    case SDL_SCANCODE_R: return 19;
    case SDL_SCANCODE_T: return 20;
    case SDL_SCANCODE_Y: return 21;
    case SDL_SCANCODE_U: return 22;
    case SDL_SCANCODE_I: return 23;
    case SDL_SCANCODE_O: return 24;
    case SDL_SCANCODE_P: return 25;
    case SDL_SCANCODE_LEFTBRACKET: return 26;
    case SDL_SCANCODE_RIGHTBRACKET: return 27;
    case SDL_SCANCODE_RETURN: return 28;
    case SDL_SCANCODE_LCTRL: return 29;
    case SDL_SCANCODE_A: return 30;
    case SDL_SCANCODE_S: return 31;
    case SDL_SCANCODE_D: return 32;
    case SDL_SCANCODE_F: return 33;
    case SDL_SCANCODE_G: return 34;
    case SDL_SCANCODE_H: return 35;
    case SDL_SCANCODE_J: return 36;
    case SDL_SCANCODE_K: return 37;
    case SDL_SCANCODE_L: return 38;
    case SDL_SCANCODE_SEMICOLON: return 39;
    case SDL_SCANCODE_APOSTROPHE: return 40;
    case SDL_SCANCODE_GRAVE: return 41;
    case SDL_SCANCODE_LSHIFT: return 42;
    case SDL_SCANCODE_BACKSLASH: return 43;
    case SDL_SCANCODE_Z: return 44;
    case SDL_SCANCODE_X: return 45;
    case SDL_SCANCODE_C: return 46;
    case SDL_SCANCODE_V: return 47;
    case SDL_SCANCODE_B: return 48;
    case SDL_SCANCODE_N: return 49;
    case SDL_SCANCODE_M: return 50;
    case SDL_SCANCODE_COMMA: return 51;
    case SDL_SCANCODE_PERIOD: return 52;
    case SDL_SCANCODE_SLASH: return 53;
    case SDL_SCANCODE_RSHIFT: return 54;
    case SDL_SCANCODE_KP_MULTIPLY: return 55;
    case SDL_SCANCODE_LALT: return 56;
    case SDL_SCANCODE_SPACE: return 57;
    case SDL_SCANCODE_CAPSLOCK: return 58;
    case SDL_SCANCODE_F1: return 59;
    case SDL_SCANCODE_F2: return 60;
    case SDL_SCANCODE_F3: return 61;
    case SDL_SCANCODE_F4: return 62;
    case SDL_SCANCODE_F5: return 63;
    case SDL_SCANCODE_F6: return 64;
    case SDL_SCANCODE_F7: return 65;
    case SDL_SCANCODE_F8: return 66;
    case SDL_SCANCODE_F9: return 67;
    case SDL_SCANCODE_F10: return 68;
    case SDL_SCANCODE_NUMLOCKCLEAR: return 69;
    case SDL_SCANCODE_SCROLLLOCK: return 70;
    case SDL_SCANCODE_KP_7: return 71;
    case SDL_SCANCODE_KP_8: return 72;
    case SDL_SCANCODE_KP_9: return 73;
    case SDL_SCANCODE_KP_MINUS: return 74;
    case SDL_SCANCODE_KP_4: return 75;
    case SDL_SCANCODE_KP_5: return 76;
    case SDL_SCANCODE_KP_6: return 77;
    case SDL_SCANCODE_KP_PLUS: return 78;
    case SDL_SCANCODE_KP_1: return 79;
    case SDL_SCANCODE_KP_2: return 80;
    case SDL_SCANCODE_KP_3: return 81;
    case SDL_SCANCODE_KP_0: return 82;
    case SDL_SCANCODE_KP_PERIOD: return 83;
    case SDL_SCANCODE_F11: return 87;
    case SDL_SCANCODE_F12: return 88;
    case SDL_SCANCODE_KP_ENTER: return 156;
    case SDL_SCANCODE_RCTRL: return 157;
    case SDL_SCANCODE_KP_DIVIDE: return 181;
    case SDL_SCANCODE_RALT: return 184;
    case SDL_SCANCODE_HOME: return 199;
    case SDL_SCANCODE_UP: return 200;
    case SDL_SCANCODE_PAGEUP: return 201;
    case SDL_SCANCODE_LEFT: return 203;
    case SDL_SCANCODE_RIGHT: return 205;
    case SDL_SCANCODE_END: return 207;
    case SDL_SCANCODE_DOWN: return 208;
    case SDL_SCANCODE_PAGEDOWN: return 209;
    case SDL_SCANCODE_INSERT: return 210;
    case SDL_SCANCODE_DELETE: return 211;
    default: return 0;
  }
}

bool OpenControllers() {
  if (!HasDisplay()) return false;
  if (!g_pads_started) {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    g_pads_started = true;
  }
  for (int i = 0; i < SDL_NumJoysticks(); ++i) OpenPad(i);
  return true;
}

void CloseControllers() {
  for (SDL_GameController* pad : g_pads) SDL_GameControllerClose(pad);
  g_pads.clear();
  g_pad_pressed = PadButtons{};
  if (g_pads_started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  g_pads_started = false;
}

int ConnectedPads() { return static_cast<int>(g_pads.size()); }

bool ReadPads(PadButtons& pads) {
  pads = PadButtons{};
  if (!g_pads_started) return false;
  SDL_PumpEvents();
  // Take only the controller events here; the rest wait for the next yield.
  SDL_Event events[32];
  int n = 0;
  bool removed = false;
  while ((n = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERDEVICEREMAPPED)) > 0) {
    for (int i = 0; i < n; ++i) removed = HandlePadEvent(events[i]) || removed;
  }
  if (removed) PadRemoved();
  if (g_pads.empty()) return false;
  for (SDL_GameController* pad : g_pads) {
    const auto held = [pad](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(pad, b) != 0; };
    const Sint16 sx = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    const Sint16 sy = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    pads.up = pads.up || held(SDL_CONTROLLER_BUTTON_DPAD_UP) || sy < -kStickThreshold;
    pads.down = pads.down || held(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || sy > kStickThreshold;
    pads.left = pads.left || held(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || sx < -kStickThreshold;
    pads.right = pads.right || held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || sx > kStickThreshold;
    pads.a = pads.a || held(SDL_CONTROLLER_BUTTON_A);
    pads.b = pads.b || held(SDL_CONTROLLER_BUTTON_B);
    pads.x = pads.x || held(SDL_CONTROLLER_BUTTON_X);
    pads.start = pads.start || held(SDL_CONTROLLER_BUTTON_START);
    pads.back = pads.back || held(SDL_CONTROLLER_BUTTON_BACK);
  }
  const PadButtons& q = g_pad_pressed;
  pads.up |= q.up, pads.down |= q.down, pads.left |= q.left, pads.right |= q.right;
  pads.a |= q.a, pads.b |= q.b, pads.x |= q.x, pads.start |= q.start, pads.back |= q.back;
  g_pad_pressed = PadButtons{};
  return true;
}

bool OpenKeyboard() {
  g_keyboard_open = HasDisplay();
  g_held.fill(false);
  g_pressed_since_read.fill(false);
  return g_keyboard_open;
}

bool ReadKeyboardTable(std::array<std::uint8_t, 256>& table) {
  if (!g_keyboard_open) return false;
  SDL_PumpEvents();
  // Take only the key events here; the rest wait for the next yield.
  SDL_Event events[32];
  int n = 0;
  while ((n = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYUP)) > 0) {
    for (int i = 0; i < n; ++i) NoteKey(events[i]);
  }
  for (std::size_t code = 0; code < 256; ++code) {
    table[code] = g_held[code] || g_pressed_since_read[code] ? 128 : 0;
  }
  g_pressed_since_read.fill(false);
  return true;
}

void SetWindowEvents(WindowEvents events) { g_events = std::move(events); }

bool InputPending() {
  if (!HasDisplay() || GetVideoBackend() != VideoBackend::Window) return false;
  SDL_PumpEvents();
  return g_toggle_requested || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE;
}

void PumpEvents() {
  if (!HasDisplay()) return;
  SDL_Event e;
  while (SDL_PollEvent(&e) != 0) {
    if (HandlePadEvent(e)) PadRemoved();
    switch (e.type) {
      case SDL_QUIT:
        if (g_events.on_close) g_events.on_close();
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST && g_events.on_focus_lost) g_events.on_focus_lost();
        break;
      case SDL_JOYDEVICEADDED:
        // Mapped controllers arrive again as controller events; this notes the others.
        if (g_pads_started && SDL_IsGameController(e.jdevice.which) == SDL_FALSE) OpenPad(e.jdevice.which);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        NoteKey(e);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const int code = MouseButtonCode(e.button.button);
        if (code != 0 && g_events.on_mouse) g_events.on_mouse(code, e.type == SDL_MOUSEBUTTONDOWN);
        break;
      }
      default:
        break;
    }
  }
  if (g_toggle_requested) {
    g_toggle_requested = false;
    if (g_events.on_toggle_full_screen) g_events.on_toggle_full_screen();
  }
}

}  // namespace tw::platform
