#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
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

namespace {

std::string Quote(const std::string& word) {
  std::string q = "'";
  for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs a shell command with no standard input; collects its exit code and output.
RunResult RunShell(const std::string& command) {
  TempDir io;
  const int status =
      std::system((command + " </dev/null >" + Quote(io.File("out")) + " 2>" + Quote(io.File("err"))).c_str());
  RunResult r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadText(io.File("out"));
  r.err = ReadText(io.File("err"));
  return r;
}

}  // namespace

RunResult RunGame(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  std::string command = "env";
  for (const auto& e : env) command += " " + Quote(e);
  // TW_TEST_BINARY runs the checks against another build (an older one, to
  // see a check fail on the fault it was written for).
  const char* other = std::getenv("TW_TEST_BINARY");
  command += " " + Quote(other != nullptr && other[0] != '\0' ? other : TW_BINARY);
  for (const auto& a : args) command += " " + Quote(a);
  return RunShell(command);
}

ReportedRun RunReported(const std::string& data, const std::string& config, std::vector<std::string> args,
                        std::vector<std::string> env) {
  const std::string report = config + "/report.json";
  std::filesystem::remove(report);
  args.insert(args.begin(), {"--data", data, "--report", report});
  env.insert(env.end(), {"XDG_CONFIG_HOME=" + config, "SDL_AUDIODRIVER=dummy"});
  ReportedRun run{RunGame(args, env), std::nullopt};
  if (std::filesystem::exists(report)) run.report = ParseJson(ReadText(report));
  return run;
}

GameRun::GameRun(bool link_data) {
  if (link_data) LinkAppData(data.path);
}

bool GameRun::Start(std::vector<std::string> args, const std::string& keys, std::vector<std::string> env) {
  if (!keys.empty()) {
    WriteText(config.File("keys.txt"), keys);
    args.insert(args.begin(), {"--keys", config.File("keys.txt")});
  }
  if (std::find(args.begin(), args.end(), "--offscreen") == args.end()) args.insert(args.begin(), "--headless");
  args.insert(args.begin(), "--fast");
  ReportedRun run = RunReported(data.path, config.path, std::move(args), std::move(env));
  result = std::move(run.result);
  report = std::move(run.report);
  return result.exit_code == 0 && report.has_value();
}

void LinkAppData(const std::string& dir) {
  const RunResult r = RunShell(". " + Quote(TW_SOURCE_DIR "/tests/support/shell_lib.sh") + " && tw_link_app_data " +
                               Quote(TW_APP_DIR) + " " + Quote(dir));
  if (r.exit_code != 0) throw std::runtime_error("cannot link the application data: " + r.err);
}

const JsonValue& JsonValue::operator[](const std::string& key) const {
  static const JsonValue kNone{};
  const auto it = object.find(key);
  return it == object.end() ? kNone : it->second;
}

std::optional<JsonValue> ParseJson(const std::string& text) {
  // One "path<TAB>text" line per scalar, the path's parts joined by NUL bytes.
  const char* flatten =
      "import json, sys\n"
      "def walk(v, p):\n"
      "  if isinstance(v, (dict, list)):\n"
      "    for k, x in (v.items() if isinstance(v, dict) else enumerate(v)): walk(x, p + [str(k)])\n"
      "  else: print(chr(0).join(p) + chr(9) + (v if isinstance(v, str) else json.dumps(v)))\n"
      "walk(json.load(open(sys.argv[1])), [])\n";
  TempDir dir;
  WriteText(dir.File("in.json"), text);
  const RunResult r = RunShell("python3 -c " + Quote(flatten) + " " + Quote(dir.File("in.json")));
  if (r.exit_code != 0) return std::nullopt;
  JsonValue root;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    JsonValue* v = &root;
    std::istringstream path(line.substr(0, tab));
    for (std::string part; std::getline(path, part, '\0');) v = &v->object[part];
    v->string = line.substr(tab + 1);
    v->number = std::strtod(v->string.c_str(), nullptr);
    v->boolean = v->string == "true";
  }
  return root;
}

}  // namespace tw::test
