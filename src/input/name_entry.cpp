#include "input/name_entry.h"

#include <array>

#include "input/controls.h"
#include "input/keyboard.h"
#include "world/player.h"

namespace tw::input {

// The key table and the intents live in core, where the world reads them.
using core::Controls;
using core::DebugWindowVisible;
using core::IsDown;
using core::KeyState;
using core::kKeyDown;
namespace key = core::key;

namespace {

struct NameKey {
  int code;
  char character;  // '-' erases
};

// The scan order: 0..9, A..Z, Space, Backspace.
constexpr std::array<NameKey, 38> kNameKeys = {{
    {key::D0, '0'}, {key::D1, '1'}, {key::D1 + 1, '2'}, {key::D1 + 2, '3'}, {key::D1 + 3, '4'},
    {key::D1 + 4, '5'}, {key::D1 + 5, '6'}, {key::D1 + 6, '7'}, {key::D1 + 7, '8'}, {key::D1 + 8, '9'},
    {key::A, 'A'}, {key::B, 'B'}, {key::C, 'C'}, {key::D, 'D'}, {key::E, 'E'}, {key::F, 'F'},
    {key::G, 'G'}, {key::H, 'H'}, {key::I, 'I'}, {key::J, 'J'}, {key::K, 'K'}, {key::L, 'L'},
    {key::M, 'M'}, {key::N, 'N'}, {key::O, 'O'}, {key::P, 'P'}, {key::Q, 'Q'}, {key::R, 'R'},
    {key::S, 'S'}, {key::T, 'T'}, {key::U, 'U'}, {key::V, 'V'}, {key::W, 'W'}, {key::X, 'X'},
    {key::Y, 'Y'}, {key::Z, 'Z'}, {key::Space, ' '}, {key::Backspace, '-'},
}};

// Latches of the keys the game does not latch itself.
std::array<bool, 256> g_own_latches{};

// E, G, W and Space share their latches with the game keys, so a key still
// held from one mode does not act again in the other.
bool& LatchOf(int code) {
  switch (code) {
    case key::E: return KeyLatches.E;
    case key::G: return KeyLatches.G;
    case key::W: return KeyLatches.W;
    case key::Space: return Controls.BombLatch;
    default: return g_own_latches[static_cast<std::size_t>(code)];
  }
}

}  // namespace

NameKeys ScanNameKeys() {
  NameKeys keys;
  keys.confirm = (IsDown(key::Escape) || IsDown(key::Return)) && world::EndFade == 0.0f;
  for (const NameKey& k : kNameKeys) {
    bool& latch = LatchOf(k.code);
    const std::uint8_t state = KeyState[static_cast<std::size_t>(k.code)];
    if (state == kKeyDown && !latch) {
      latch = true;
      keys.typed += k.character;
    } else if (state == 0) {
      latch = false;
    }
  }
  return keys;
}


}  // namespace tw::input
