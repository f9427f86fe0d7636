// The size a picture file claims, read from its header before anything is
// decoded: a damaged or hostile header claiming tens of thousands of pixels a
// side would otherwise have the decoder allocate gigabytes.
#pragma once

#include <optional>
#include <string_view>

namespace tw::render {

struct PictureSize {
  long width = 0;
  long height = 0;
};

// Largest side a picture may have (the DDS reader holds to the same limit).
inline constexpr long kPictureMaxSide = 8192;

// The width and height a BMP, PNG or JPEG file claims; nullopt when the bytes
// start no such header or it is cut short.
std::optional<PictureSize> PictureHeaderSize(std::string_view bytes);
// True when the header is one of those and claims 1..kPictureMaxSide a side.
bool PictureSizeAcceptable(std::string_view bytes);

}  // namespace tw::render
