#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tw::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "tumblewell-test-XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path, ec);
}

void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

RunResult RunGame(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  // Through the shell, every word single-quoted; no standard input.
  const auto quote = [](const std::string& word) {
    std::string q = "'";
    for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  };
  TempDir io;
  std::string command = "env";
  for (const auto& e : env) command += " " + quote(e);
  command += " " + quote(TW_BINARY);
  for (const auto& a : args) command += " " + quote(a);
  command += " </dev/null >" + quote(io.File("out")) + " 2>" + quote(io.File("err"));
  const int status = std::system(command.c_str());
  RunResult r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadText(io.File("out"));
  r.err = ReadText(io.File("err"));
  return r;
}

void LinkAppData(const std::string& dir) {
  const fs::path app(TW_APP_DIR);
  for (const char* name : {"fonts", "sfx", "music", "font.ini", "wd.jpg", "wd_wow.jpg"}) {
    std::error_code ec;
    if (fs::exists(app / name)) fs::create_symlink(app / name, fs::path(dir) / name, ec);
  }
  // textures/ holds data and the files the game writes: link its entries one by one.
  std::error_code ec;
  fs::create_directories(fs::path(dir) / "textures", ec);
  if (!fs::exists(app / "textures")) return;
  for (const auto& entry : fs::directory_iterator(app / "textures")) {
    const std::string name = entry.path().filename().string();
    if (name == "options.bmp" || name == "dot_black2.bmp" || name == "dot_white2.bmp") continue;
    fs::create_symlink(entry.path(), fs::path(dir) / "textures" / name, ec);
  }
}

namespace {

const JsonValue kNull{};

// A small recursive-descent reader: enough for the game's own report.
struct Parser {
  const std::string& s;
  std::size_t i = 0;
  bool ok = true;

  void Ws() {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  }
  bool Eat(char c) {
    Ws();
    return i < s.size() && s[i] == c ? (++i, true) : false;
  }
  bool Word(const char* w) {
    const std::size_t n = std::strlen(w);
    return s.compare(i, n, w) == 0 ? (i += n, true) : false;
  }
  std::string Str() {
    std::string out;
    ok = ok && Eat('"');
    for (; ok && i < s.size() && s[i] != '"'; ++i) {
      if (s[i] != '\\' || ++i >= s.size()) {
        out += s[i];
      } else if (s[i] == 'u') {
        out += static_cast<char>(std::strtol(s.substr(i + 1, 4).c_str(), nullptr, 16));
        i += 4;
      } else {
        out += s[i] == 'n' ? '\n' : s[i] == 't' ? '\t' : s[i] == 'r' ? '\r' : s[i];
      }
    }
    ok = ok && i++ < s.size();
    return out;
  }
  JsonValue Value() {
    JsonValue v;
    using K = JsonValue::Kind;
    if (Eat('{')) {
      v.kind = K::Object;
      if (Eat('}')) return v;
      do {
        std::string k = Str();
        ok = ok && Eat(':');
        v.object[k] = Value();
      } while (ok && Eat(','));
      ok = ok && Eat('}');
    } else if (Eat('[')) {
      v.kind = K::Array;
      if (Eat(']')) return v;
      do v.array.push_back(Value());
      while (ok && Eat(','));
      ok = ok && Eat(']');
    } else if (i < s.size() && s[i] == '"') {
      v.kind = K::String;
      v.string = Str();
    } else if (Word("true") || Word("false")) {
      v.kind = K::Bool;
      v.boolean = s[i - 1] == 'e' && s[i - 2] == 'u';
    } else if (!Word("null")) {
      char* end = nullptr;
      v.kind = K::Number;
      v.number = std::strtod(s.c_str() + i, &end);
      ok = ok && end != s.c_str() + i;
      i = static_cast<std::size_t>(end - s.c_str());
    }
    return v;
  }
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
  auto it = object.find(key);
  return it == object.end() ? kNull : it->second;
}

const JsonValue& JsonValue::operator[](std::size_t index) const {
  return index < array.size() ? array[index] : kNull;
}

std::optional<JsonValue> ParseJson(const std::string& text) {
  Parser p{text};
  JsonValue v = p.Value();
  p.Ws();
  if (!p.ok || p.i != text.size()) return std::nullopt;
  return v;
}

}  // namespace tw::test
