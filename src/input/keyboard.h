// The keyboard: a 256-entry table indexed by the classic PC key codes (a key
// is down when its byte is 128, up when it is 0), filled once per frame, and
// the keyboard script that can replace the device for tests and automation.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/input_state.h"

namespace tw::input {

// Prepares the keyboard device (or the script, when one was loaded).
void InitKeyboard();
// Reads the device (or the script's table) into KeyState, then adds the
// controllers' buttons as the keys a keyboard player would press (in a
// game: walk Left/Right, A = Up, B or X = Space, Start = P, Back = Escape; in
// the menu: Up/Down, A = Return, B = Escape; nothing during name entry).
// False when the keyboard read failed; the table then keeps its previous
// contents (controllers still add to it).
bool ReadKeyboard();
// The controller half of ReadKeyboard.
void AddControllerKeys();

// A keyboard script: lines "FRAME KEY down|up", '#' starts a comment.
struct ScriptEvent {
  std::int64_t frame = 0;
  int code = 0;
  bool down = false;
};
// The key code for a script key name (Escape, Return, Space, Tab, Backspace,
// Up, Down, Left, Right, A..Z, 0..9), or nullopt.
std::optional<int> KeyCodeFromName(std::string_view name);
// Parses a script; on failure returns nullopt and sets `error` to a one-line
// message naming the line.
std::optional<std::vector<ScriptEvent>> ParseKeyScript(std::string_view text, std::string& error);
// Replaces the keyboard device with the script.
void UseKeyScript(std::vector<ScriptEvent> events);
bool KeyScriptActive();
// Applies the script's events for `frame` to the script table and KeyState.
void ApplyKeyScript(std::int64_t frame);

}  // namespace tw::input
