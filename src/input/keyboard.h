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

namespace tw::input {

namespace key {
inline constexpr int Escape = 1;
inline constexpr int D1 = 2;  // 1..9 are codes 2..10, 0 is 11
inline constexpr int D0 = 11;
inline constexpr int Backspace = 14;
inline constexpr int Tab = 15;
inline constexpr int Q = 16, W = 17, E = 18, R = 19, T = 20, Y = 21, U = 22, I = 23, O = 24,
                     P = 25;
inline constexpr int Return = 28;
inline constexpr int A = 30, S = 31, D = 32, F = 33, G = 34, H = 35, J = 36, K = 37, L = 38;
inline constexpr int Z = 44, X = 45, C = 46, V = 47, B = 48, N = 49, M = 50;
inline constexpr int Space = 57;
inline constexpr int Up = 200, Left = 203, Right = 205, Down = 208;
}  // namespace key

inline constexpr std::uint8_t kKeyDown = 128;

extern std::array<std::uint8_t, 256> KeyState;

inline bool IsDown(int code) { return KeyState[static_cast<std::size_t>(code)] == kKeyDown; }

// Prepares the keyboard device (or the script, when one was loaded).
void InitKeyboard();
// Reads the device (or the script's table) into KeyState. False when the read
// failed; the table then keeps its previous contents.
bool ReadKeyboard();

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
