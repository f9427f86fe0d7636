// The list of every generated file and the drivers that write them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "formats.hpp"
#include "image.hpp"

namespace datagen {

struct PictureJob {
  std::string path;  // relative to the application directory, lower case
  PicFormat format;
  std::function<Image()> make;
};

std::vector<PictureJob> pictureJobs();
// Every file name written, pictures, sounds, music and font.ini alike.
std::vector<std::string> allOutputs();

// Writes every output whose path contains `filter` (all when empty) under
// `dir`. Returns the number of failures.
int generate(const std::string& dir, const std::string& filter, bool verbose);
// One PNG with every picture whose path contains `filter`, labelled.
bool writeContactSheet(const std::string& png, const std::string& filter, bool fullSize = false);

}  // namespace datagen
