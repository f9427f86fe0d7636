#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_loop.h"

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
  return tw::app::RunGame(*cl);
}
