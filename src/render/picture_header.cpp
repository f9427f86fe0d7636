#include "render/picture_header.h"

#include <cstdint>

namespace tw::render {

namespace {

std::uint32_t Byte(std::string_view b, std::size_t at) { return static_cast<unsigned char>(b[at]); }
std::uint32_t Le16(std::string_view b, std::size_t at) { return Byte(b, at) | Byte(b, at + 1) << 8; }
std::uint32_t Le32(std::string_view b, std::size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }
std::uint32_t Be16(std::string_view b, std::size_t at) { return Byte(b, at) << 8 | Byte(b, at + 1); }
std::uint32_t Be32(std::string_view b, std::size_t at) { return Be16(b, at) << 16 | Be16(b, at + 2); }

// A signed 32-bit field as a size: a negative BMP height means rows top first.
long Magnitude(std::uint32_t v) {
  const auto s = static_cast<std::int64_t>(static_cast<std::int32_t>(v));
  return static_cast<long>(s < 0 ? -s : s);
}

std::optional<PictureSize> Bmp(std::string_view b) {
  if (b.size() < 26) return std::nullopt;
  if (Le32(b, 14) == 12) return PictureSize{static_cast<long>(Le16(b, 18)), static_cast<long>(Le16(b, 20))};
  return PictureSize{Magnitude(Le32(b, 18)), Magnitude(Le32(b, 22))};
}

std::optional<PictureSize> Png(std::string_view b) {
  if (b.size() < 24 || b.substr(12, 4) != "IHDR") return std::nullopt;
  return PictureSize{static_cast<long>(Be32(b, 16)), static_cast<long>(Be32(b, 20))};
}

// Walks the marker segments up to the first start-of-frame.
std::optional<PictureSize> Jpeg(std::string_view b) {
  std::size_t at = 2;
  while (at + 4 <= b.size()) {
    if (Byte(b, at) != 0xFF) return std::nullopt;
    const std::uint32_t marker = Byte(b, at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // end, or data before any frame
    const std::uint32_t length = Be16(b, at + 2);
    if (length < 2) return std::nullopt;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (at + 9 > b.size()) return std::nullopt;
      return PictureSize{static_cast<long>(Be16(b, at + 7)), static_cast<long>(Be16(b, at + 5))};
    }
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PictureSize> PictureHeaderSize(std::string_view bytes) {
  if (bytes.substr(0, 2) == "BM") return Bmp(bytes);
  if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) return Png(bytes);
  if (bytes.substr(0, 2) == "\xFF\xD8") return Jpeg(bytes);
  return std::nullopt;
}

bool PictureSizeAcceptable(std::string_view bytes) {
  const auto size = PictureHeaderSize(bytes);
  return size && size->width >= 1 && size->height >= 1 && size->width <= kPictureMaxSide &&
         size->height <= kPictureMaxSide;
}

}  // namespace tw::render
