// What the player asks for this frame, shared by the layers that read it: the
// keyboard table (a 256-entry table indexed by the classic PC key codes; a key
// is down when its byte is 128, up when it is 0) and the creature's intents.
// The input layer fills them; the world and the screens read them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tw::core {

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

// The creature's intents and their once-per-press latches.
struct ControlState {
  bool MoveLeft = false;
  bool MoveRight = false;
  bool JumpRequest = false;
  bool JumpLatch = false;   // Up pressed and not yet released
  bool BombRequest = false;
  bool BombLatch = false;   // Space or Down pressed and not yet both released
};
extern ControlState Controls;

// What the in-game keys ask of the game this frame besides walking and
// jumping. The input layer fills it; the world applies it, in the order of
// the fields, as the keys were always handled (a give-up before the bomb and
// the pause: a game given up is never paused).
struct FrameCommands {
  bool ToggleDebugWindow = false;
  // Debug keys acting every frame they are held (the window is shown).
  bool ScrollAhead = false;     // A
  bool ScrollBack = false;      // Z
  bool CreatureToTop = false;   // R
  bool ViewToCreature = false;  // O
  bool GiveUp = false;          // Escape
  int EndPlaybackKeys = 0;      // keys held that end a replay being played back
  bool Bomb = false;            // the bomb asked for goes off
  bool TogglePause = false;
  // Debug keys acting once per press (the window is shown).
  bool FillBombs = false;       // B, held
  bool Lighter = false;         // W
  bool Heavier = false;         // E
  bool GlassBomb = false;       // G
  bool Screenshot = false;      // S, taken by the frame once the controls are read
};

// The debug window is shown and its test keys act.
extern bool DebugWindowVisible;

}  // namespace tw::core
