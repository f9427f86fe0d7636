// Our own reader for DirectDraw Surface pictures: the top-level image of
// uncompressed files described by channel masks (RGB, luminance or alpha
// only, 8 to 32 bits per pixel) and of block-compressed DXT1 (with its 1-bit
// alpha), DXT2/DXT3 and DXT4/DXT5 files. Mip levels beyond the first, cube
// faces and volume slices are ignored.
//
// The reader trusts nothing in the file: a wrong magic, a header that does
// not add up, an unknown format or pixel data shorter than the header
// promises is a failure, never an over-read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw::render {

struct DdsImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // 0xAARRGGBB, rows top first
};

// Largest side accepted; anything larger is taken as a damaged header.
inline constexpr int kDdsMaxSide = 8192;

// Decodes a whole DDS file held in memory. On failure returns false and
// leaves `out` empty. `error`, when given, receives a short reason.
bool DecodeDds(std::string_view bytes, DdsImage& out, std::string* error = nullptr);

}  // namespace tw::render
