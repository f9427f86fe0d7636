#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "platform/files.h"
#include "replay/run_code.h"

#ifndef TW_VERSION
#define TW_VERSION "dev"
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto cl = tw::app::ParseCommandLine(args, error);
  if (!cl) {
    std::fprintf(stderr, "tumblewell: %s\n", error.c_str());
    return 2;
  }
  if (cl->help) {
    std::fputs(tw::app::HelpText().c_str(), stdout);
    return 0;
  }
  if (cl->version) {
    std::printf("tumblewell %s\n", TW_VERSION);
    return 0;
  }
  if (!tw::app::CheckCommandLinePaths(*cl, error)) {
    std::fprintf(stderr, "tumblewell: %s\n", error.c_str());
    return 2;
  }
  if (cl->share_file) {
    const auto text = tw::platform::ReadFile(*cl->share_file);
    const auto code = text ? tw::replay::EncodeRunCode(*text, error) : std::nullopt;
    if (!code) {
      std::fprintf(stderr, "tumblewell: --share %s: %s\n", cl->share_file->c_str(),
                   text ? error.c_str() : "cannot read the file");
      return 2;
    }
    std::printf("%s\n", code->c_str());
    return 0;
  }
  return tw::app::RunGame(*cl);
}
