// tw_datagen: writes the game's pictures, sounds, music and font description.
//
//   tw_datagen <application directory> [--only <text>] [--verbose]
//   tw_datagen --contact-sheet <file.png> [--only <text>[,<text>...]] [--full]
//   tw_datagen --icon <size> <file.png>
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "art.hpp"
#include "catalogue.hpp"
#include "formats.hpp"
#include "text.hpp"

int main(int argc, char** argv) {
  std::string dir, sheet, filter;
  bool verbose = false, full = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--only" && i + 1 < argc) {
      filter = argv[++i];
    } else if (a == "--contact-sheet" && i + 1 < argc) {
      sheet = argv[++i];
    } else if (a == "--icon" && i + 2 < argc) {
      const int size = std::atoi(argv[i + 1]);
      const std::string file = argv[i + 2];
      if (size < 16 || size > 1024) {
        std::fprintf(stderr, "tw_datagen: icon size %s is not 16..1024\n", argv[i + 1]);
        return 2;
      }
      if (!datagen::initText()) return 1;
      const bool ok = datagen::writePicture(file, datagen::appIcon(size), datagen::PicFormat::Png);
      datagen::shutdownText();
      if (!ok) std::fprintf(stderr, "tw_datagen: could not write %s\n", file.c_str());
      return ok ? 0 : 1;
    } else if (a == "--full") {
      full = true;
    } else if (a == "--verbose") {
      verbose = true;
    } else if (a == "--list") {
      for (const auto& p : datagen::allOutputs()) std::printf("%s\n", p.c_str());
      return 0;
    } else if (!a.empty() && a[0] != '-') {
      dir = a;
    } else {
      std::fprintf(stderr, "usage: tw_datagen <dir> [--only text] [--verbose] | --contact-sheet file.png | --list\n");
      return 2;
    }
  }
  if (dir.empty() && sheet.empty()) {
    std::fprintf(stderr, "usage: tw_datagen <dir> [--only text] [--verbose] | --contact-sheet file.png | --list\n");
    return 2;
  }
  if (!datagen::initText()) {
    std::fprintf(stderr, "tw_datagen: no usable font (install fonts-dejavu-core and fonts-league-spartan)\n");
    return 1;
  }
  int failures = 0;
  if (!sheet.empty()) {
    if (!datagen::writeContactSheet(sheet, filter, full)) ++failures;
    else std::printf("contact sheet: %s\n", sheet.c_str());
  }
  if (!dir.empty()) failures += datagen::generate(dir, filter, verbose);
  datagen::shutdownText();
  return failures == 0 ? 0 : 1;
}
