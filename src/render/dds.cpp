#include "render/dds.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace tw::render {

namespace {

constexpr std::size_t kMagicSize = 4;
constexpr std::size_t kHeaderSize = 124;
constexpr std::size_t kPixelFormatSize = 32;
constexpr std::size_t kDataOffset = kMagicSize + kHeaderSize;

// Pixel-format flags.
constexpr std::uint32_t kAlphaPixels = 0x1;
constexpr std::uint32_t kAlphaOnly = 0x2;
constexpr std::uint32_t kFourCc = 0x4;
constexpr std::uint32_t kRgb = 0x40;
constexpr std::uint32_t kLuminance = 0x20000;

constexpr std::uint32_t FourCc(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24);
}

std::uint32_t U8(std::string_view b, std::size_t at) { return static_cast<unsigned char>(b[at]); }
std::uint32_t U16(std::string_view b, std::size_t at) { return U8(b, at) | (U8(b, at + 1) << 8); }
std::uint32_t U32(std::string_view b, std::size_t at) {
  return U16(b, at) | (U16(b, at + 2) << 16);
}

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

constexpr std::uint32_t Pack(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// One channel of an uncompressed pixel: the bits under `mask`, widened to
// 0..255 with rounding (a 5-bit 31 becomes 255, a 1-bit 1 becomes 255).
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    max = mask >> shift;
  }
  bool present() const { return mask != 0; }
  std::uint32_t Read(std::uint32_t pixel) const {
    if (mask == 0) return 0;
    const std::uint64_t v = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((v * 255u + max / 2u) / max);
  }
};

bool DecodeUncompressed(std::string_view bytes, std::uint32_t flags, std::uint32_t bit_count,
                        std::uint32_t rmask, std::uint32_t gmask, std::uint32_t bmask,
                        std::uint32_t amask, DdsImage& out, std::string* error) {
  if (bit_count != 8 && bit_count != 16 && bit_count != 24 && bit_count != 32) {
    return Fail(error, "unsupported bit count");
  }
  const std::uint32_t pixel_bits =
      bit_count == 32 ? 0xFFFFFFFFu : ((1u << bit_count) - 1u);
  const bool has_alpha = (flags & (kAlphaPixels | kAlphaOnly)) != 0 && amask != 0;
  const bool luminance = (flags & kLuminance) != 0;
  const bool alpha_only = (flags & kAlphaOnly) != 0 && (flags & (kRgb | kLuminance)) == 0;
  if ((rmask | gmask | bmask | amask) & ~pixel_bits) return Fail(error, "mask wider than pixel");
  if (!alpha_only && rmask == 0 && gmask == 0 && bmask == 0) return Fail(error, "no colour mask");
  if (alpha_only && !has_alpha) return Fail(error, "alpha format without alpha mask");

  const Channel r(rmask), g(gmask), b(bmask), a(has_alpha ? amask : 0u);
  const std::size_t bytes_per_pixel = bit_count / 8;
  const std::size_t pitch = static_cast<std::size_t>(out.width) * bytes_per_pixel;
  const std::size_t needed = pitch * static_cast<std::size_t>(out.height);
  if (bytes.size() - kDataOffset < needed) return Fail(error, "pixel data truncated");

  out.argb.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  std::size_t at = kDataOffset;
  std::size_t o = 0;
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x, at += bytes_per_pixel) {
      std::uint32_t p = 0;
      for (std::size_t k = 0; k < bytes_per_pixel; ++k) p |= U8(bytes, at + k) << (8 * k);
      const std::uint32_t alpha = has_alpha ? a.Read(p) : 255u;
      std::uint32_t red = 0, green = 0, blue = 0;
      if (luminance) {
        red = green = blue = r.Read(p);
      } else if (!alpha_only) {
        red = r.Read(p);
        green = g.Read(p);
        blue = b.Read(p);
      }
      out.argb[o++] = Pack(alpha, red, green, blue);
    }
  }
  return true;
}

// 5:6:5 to 8:8:8, replicating the top bits into the bottom ones.
void Expand565(std::uint32_t c, std::uint32_t rgb[3]) {
  const std::uint32_t r = (c >> 11) & 31u, g = (c >> 5) & 63u, b = c & 31u;
  rgb[0] = (r << 3) | (r >> 2);
  rgb[1] = (g << 2) | (g >> 4);
  rgb[2] = (b << 3) | (b >> 2);
}

// The colour half of a block (8 bytes at `at`) into 16 palette indices'
// colours, alpha 255 except DXT1's transparent entry.
void DecodeColourBlock(std::string_view bytes, std::size_t at, bool allow_one_bit_alpha,
                       std::uint32_t texels[16]) {
  const std::uint32_t c0 = U16(bytes, at), c1 = U16(bytes, at + 2);
  std::uint32_t e0[3], e1[3];
  Expand565(c0, e0);
  Expand565(c1, e1);
  std::uint32_t palette[4];
  palette[0] = Pack(255, e0[0], e0[1], e0[2]);
  palette[1] = Pack(255, e1[0], e1[1], e1[2]);
  if (c0 > c1 || !allow_one_bit_alpha) {
    std::uint32_t p2[3], p3[3];
    for (int i = 0; i < 3; ++i) {
      p2[i] = (2u * e0[i] + e1[i] + 1u) / 3u;
      p3[i] = (e0[i] + 2u * e1[i] + 1u) / 3u;
    }
    palette[2] = Pack(255, p2[0], p2[1], p2[2]);
    palette[3] = Pack(255, p3[0], p3[1], p3[2]);
  } else {
    palette[2] = Pack(255, (e0[0] + e1[0]) / 2u, (e0[1] + e1[1]) / 2u, (e0[2] + e1[2]) / 2u);
    palette[3] = 0;  // transparent black
  }
  const std::uint32_t indices = U32(bytes, at + 4);
  for (int i = 0; i < 16; ++i) texels[i] = palette[(indices >> (2 * i)) & 3u];
}

// DXT3: sixteen explicit 4-bit alphas, first texel in the low nibble.
void ApplyExplicitAlpha(std::string_view bytes, std::size_t at, std::uint32_t texels[16]) {
  for (int i = 0; i < 16; ++i) {
    const std::uint32_t byte = U8(bytes, at + static_cast<std::size_t>(i / 2));
    const std::uint32_t a4 = (i % 2 == 0) ? (byte & 15u) : (byte >> 4);
    texels[i] = (texels[i] & 0x00FFFFFFu) | ((a4 * 17u) << 24);
  }
}

// DXT5: two alpha end points and sixteen 3-bit indices.
void ApplyInterpolatedAlpha(std::string_view bytes, std::size_t at, std::uint32_t texels[16]) {
  const std::uint32_t a0 = U8(bytes, at), a1 = U8(bytes, at + 1);
  std::uint32_t palette[8];
  palette[0] = a0;
  palette[1] = a1;
  if (a0 > a1) {
    for (std::uint32_t i = 1; i <= 6; ++i) palette[i + 1] = ((7u - i) * a0 + i * a1 + 3u) / 7u;
  } else {
    for (std::uint32_t i = 1; i <= 4; ++i) palette[i + 1] = ((5u - i) * a0 + i * a1 + 2u) / 5u;
    palette[6] = 0;
    palette[7] = 255;
  }
  std::uint64_t bits = 0;
  for (std::size_t k = 0; k < 6; ++k) bits |= static_cast<std::uint64_t>(U8(bytes, at + 2 + k)) << (8 * k);
  for (int i = 0; i < 16; ++i) {
    const auto index = static_cast<std::size_t>((bits >> (3 * i)) & 7u);
    texels[i] = (texels[i] & 0x00FFFFFFu) | (palette[index] << 24);
  }
}

enum class Compression { Dxt1, Dxt3, Dxt5 };

bool DecodeCompressed(std::string_view bytes, Compression kind, DdsImage& out, std::string* error) {
  const std::size_t blocks_x = (static_cast<std::size_t>(out.width) + 3) / 4;
  const std::size_t blocks_y = (static_cast<std::size_t>(out.height) + 3) / 4;
  const std::size_t block_size = kind == Compression::Dxt1 ? 8 : 16;
  if (bytes.size() - kDataOffset < blocks_x * blocks_y * block_size) {
    return Fail(error, "block data truncated");
  }
  out.argb.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 0u);
  std::size_t at = kDataOffset;
  std::uint32_t texels[16];
  for (std::size_t by = 0; by < blocks_y; ++by) {
    for (std::size_t bx = 0; bx < blocks_x; ++bx, at += block_size) {
      switch (kind) {
        case Compression::Dxt1:
          DecodeColourBlock(bytes, at, true, texels);
          break;
        case Compression::Dxt3:
          DecodeColourBlock(bytes, at + 8, false, texels);
          ApplyExplicitAlpha(bytes, at, texels);
          break;
        case Compression::Dxt5:
          DecodeColourBlock(bytes, at + 8, false, texels);
          ApplyInterpolatedAlpha(bytes, at, texels);
          break;
      }
      // Blocks overhanging the right or bottom edge keep only their inside texels.
      for (std::size_t ty = 0; ty < 4; ++ty) {
        const std::size_t y = by * 4 + ty;
        if (y >= static_cast<std::size_t>(out.height)) break;
        for (std::size_t tx = 0; tx < 4; ++tx) {
          const std::size_t x = bx * 4 + tx;
          if (x >= static_cast<std::size_t>(out.width)) break;
          out.argb[y * static_cast<std::size_t>(out.width) + x] = texels[ty * 4 + tx];
        }
      }
    }
  }
  return true;
}

}  // namespace

bool DecodeDds(std::string_view bytes, DdsImage& out, std::string* error) {
  out = DdsImage{};
  if (bytes.size() < kDataOffset) return Fail(error, "file shorter than its header");
  if (bytes.substr(0, 4) != "DDS ") return Fail(error, "not a DDS file");
  if (U32(bytes, 4) != kHeaderSize) return Fail(error, "bad header size");
  const std::uint32_t height = U32(bytes, 12);
  const std::uint32_t width = U32(bytes, 16);
  if (width == 0 || height == 0 || width > kDdsMaxSide || height > kDdsMaxSide) {
    return Fail(error, "bad picture size");
  }
  constexpr std::size_t pf = 4 + 72;  // pixel format inside the file
  if (U32(bytes, pf) != kPixelFormatSize) return Fail(error, "bad pixel format size");
  const std::uint32_t flags = U32(bytes, pf + 4);
  const std::uint32_t four_cc = U32(bytes, pf + 8);
  const std::uint32_t bit_count = U32(bytes, pf + 12);
  const std::uint32_t rmask = U32(bytes, pf + 16), gmask = U32(bytes, pf + 20);
  const std::uint32_t bmask = U32(bytes, pf + 24), amask = U32(bytes, pf + 28);

  DdsImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  bool ok = false;
  if (flags & kFourCc) {
    if (four_cc == FourCc('D', 'X', 'T', '1')) {
      ok = DecodeCompressed(bytes, Compression::Dxt1, image, error);
    } else if (four_cc == FourCc('D', 'X', 'T', '2') || four_cc == FourCc('D', 'X', 'T', '3')) {
      ok = DecodeCompressed(bytes, Compression::Dxt3, image, error);
    } else if (four_cc == FourCc('D', 'X', 'T', '4') || four_cc == FourCc('D', 'X', 'T', '5')) {
      ok = DecodeCompressed(bytes, Compression::Dxt5, image, error);
    } else {
      return Fail(error, "unsupported compressed format");
    }
  } else if (flags & (kRgb | kLuminance | kAlphaOnly)) {
    ok = DecodeUncompressed(bytes, flags, bit_count, rmask, gmask, bmask, amask, image, error);
  } else {
    return Fail(error, "unknown pixel format");
  }
  if (!ok) return false;
  out = std::move(image);
  return true;
}

}  // namespace tw::render
