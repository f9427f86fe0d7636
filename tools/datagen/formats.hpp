// File writers. BMP, DDS and WAV are written here byte by byte so the output
// is fully determined by the pixels and samples; PNG and JPEG go through
// SDL_image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.hpp"

namespace datagen {

enum class PicFormat { Bmp, BmpKeyed, Dds, Png, Jpg };

// Pixels of a colour-keyed picture: coverage of at least one half becomes an
// opaque texel, the rest the key colour magenta (255, 0, 255).
std::vector<std::uint8_t> flattenKeyed(const Image& img);
// 8-bit straight RGBA, with the colour of transparent texels spread from
// their neighbours so filtered edges do not darken.
std::vector<std::uint8_t> toRgba8(const Image& img, bool bleed);

std::vector<std::uint8_t> encodeBmp24(int w, int h, const std::vector<std::uint8_t>& rgb);
std::vector<std::uint8_t> encodeDdsArgb(int w, int h, const std::vector<std::uint8_t>& rgba);

struct Audio {
  int rate = 44100;
  int channels = 1;
  std::vector<float> samples;  // interleaved, -1..1
};
std::vector<std::uint8_t> encodeWav16(const Audio& a);
// Ogg Vorbis at the given quality (-0.1 .. 1.0), with a fixed stream serial
// number, so the same samples give the same bytes on every build.
std::vector<std::uint8_t> encodeOggVorbis(const Audio& a, float quality);

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool makeParentDirs(const std::string& path);
bool writePicture(const std::string& path, const Image& img, PicFormat fmt);

}  // namespace datagen
