#include "input/keyboard.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "core/game_state.h"
#include "core/printable.h"
#include "platform/input.h"

namespace tw::input {

// The key table and the intents live in core, where the world reads them.
using core::Controls;
using core::DebugWindowVisible;
using core::IsDown;
using core::KeyState;
using core::kKeyDown;
namespace key = core::key;


namespace {

bool g_script_active = false;
std::vector<ScriptEvent> g_script;
std::size_t g_script_next = 0;
std::array<std::uint8_t, 256> g_script_table{};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

void InitKeyboard() {
  if (!g_script_active) platform::OpenKeyboard();
  platform::OpenControllers();
}

void AddControllerKeys() {
  platform::PadButtons p;
  if (!platform::ReadPads(p)) return;
  const auto press = [](bool held, int code) {
    if (held) KeyState[static_cast<std::size_t>(code)] = kKeyDown;
  };
  if (!core::InGame) {
    press(p.up, key::Up);
    press(p.down, key::Down);
    press(p.a, key::Return);
    press(p.b, key::Escape);
    return;
  }
  if (core::GameOver) return;  // the name is typed on the keyboard
  press(p.left, key::Left);
  press(p.right, key::Right);
  press(p.a, key::Up);
  press(p.b || p.x, key::Space);
  press(p.start, key::P);
  press(p.back, key::Escape);
}

bool ReadKeyboard() {
  bool ok = true;
  if (g_script_active) {
    KeyState = g_script_table;
  } else {
    ok = platform::ReadKeyboardTable(KeyState);
  }
  AddControllerKeys();
  return ok;
}

std::optional<int> KeyCodeFromName(std::string_view name) {
  const std::string n = Lower(name);
  if (n == "escape" || n == "esc") return key::Escape;
  if (n == "return" || n == "enter") return key::Return;
  if (n == "space") return key::Space;
  if (n == "tab") return key::Tab;
  if (n == "backspace") return key::Backspace;
  if (n == "up") return key::Up;
  if (n == "down") return key::Down;
  if (n == "left") return key::Left;
  if (n == "right") return key::Right;
  if (n.size() == 1 && n[0] >= '1' && n[0] <= '9') return key::D1 + (n[0] - '1');
  if (n == "0") return key::D0;
  if (n.size() == 1 && n[0] >= 'a' && n[0] <= 'z') {
    static constexpr int kLetters[26] = {key::A, key::B, key::C, key::D, key::E, key::F, key::G,
                                         key::H, key::I, key::J, key::K, key::L, key::M, key::N,
                                         key::O, key::P, key::Q, key::R, key::S, key::T, key::U,
                                         key::V, key::W, key::X, key::Y, key::Z};
    return kLetters[n[0] - 'a'];
  }
  return std::nullopt;
}

std::optional<std::vector<ScriptEvent>> ParseKeyScript(std::string_view text, std::string& error) {
  std::vector<ScriptEvent> events;
  std::istringstream in{std::string(text)};
  std::string line;
  int line_no = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string frame_text, key_text, state_text, extra;
    if (!(words >> frame_text)) continue;  // blank or comment-only line
    words >> key_text >> state_text;
    const bool too_many = static_cast<bool>(words >> extra);
    std::int64_t frame = -1;
    bool frame_ok = !frame_text.empty() &&
                    std::all_of(frame_text.begin(), frame_text.end(),
                                [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) &&
                    frame_text.size() < 16;
    if (frame_ok) frame = std::stoll(frame_text);
    const auto code = KeyCodeFromName(key_text);
    const std::string state = Lower(state_text);
    if (!frame_ok || !code || (state != "down" && state != "up") || too_many) {
      error = "line " + std::to_string(line_no) + ": expected \"FRAME KEY down|up\", got \"" + core::Printable(line) + "\"";
      return std::nullopt;
    }
    events.push_back({frame, *code, state == "down"});
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
  return events;
}

void UseKeyScript(std::vector<ScriptEvent> events) {
  g_script = std::move(events);
  g_script_next = 0;
  g_script_table.fill(0);
  g_script_active = true;
}

bool KeyScriptActive() { return g_script_active; }

void ApplyKeyScript(std::int64_t frame) {
  if (!g_script_active) return;
  while (g_script_next < g_script.size() && g_script[g_script_next].frame <= frame) {
    const ScriptEvent& e = g_script[g_script_next++];
    const std::uint8_t value = e.down ? kKeyDown : 0;
    g_script_table[static_cast<std::size_t>(e.code)] = value;
    KeyState[static_cast<std::size_t>(e.code)] = value;
  }
}

}  // namespace tw::input
