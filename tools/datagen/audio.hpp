// Synthesized sound effects and the two music loops.
#pragma once

#include <string>
#include <vector>

#include "formats.hpp"

namespace datagen {

struct SoundDef {
  std::string file;  // under sfx/
};
const std::vector<std::string>& soundFiles();  // the wave files, without folder
Audio makeSound(const std::string& file);

Audio menuMusic();  // calm, seamless loop
Audio gameMusic();  // lively, seamless loop

}  // namespace datagen
