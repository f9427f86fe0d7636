// The DDS reader against fixtures written by ImageMagick and against
// hand-built files for the formats it does not write.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "platform/files.h"
#include "render/dds.h"

namespace tw::render {
namespace {

std::string Fixture(const std::string& name) {
  auto bytes = platform::ReadFile(std::string(TW_SOURCE_DIR) + "/tests/render/fixtures/" + name);
  EXPECT_TRUE(bytes.has_value()) << name;
  return bytes.value_or(std::string());
}

// The 8 x 8 source of the fixtures: four 4 x 4 blocks, red; white and black
// columns; blue; transparent rows over green rows.
std::uint32_t PatternTexel(int x, int y) {
  const int bx = x / 4, by = y / 4;
  if (bx == 0 && by == 0) return 0xFFFF0000u;
  if (bx == 1 && by == 0) return x < 6 ? 0xFFFFFFFFu : 0xFF000000u;
  if (bx == 0 && by == 1) return 0xFF0000FFu;
  return y < 6 ? 0x00000000u : 0xFF00FF00u;
}

void Put32(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFFu);
}

// A 128-byte header; the pixel data is appended by the caller.
std::string Header(std::uint32_t width, std::uint32_t height, std::uint32_t pf_flags,
                   const char* four_cc, std::uint32_t bits, std::uint32_t r, std::uint32_t g,
                   std::uint32_t b, std::uint32_t a) {
  std::string h(128, '\0');
  std::memcpy(h.data(), "DDS ", 4);
  Put32(h, 4, 124);
  Put32(h, 8, 0x1007);
  Put32(h, 12, height);
  Put32(h, 16, width);
  Put32(h, 76, 32);
  Put32(h, 80, pf_flags);
  if (four_cc) std::memcpy(h.data() + 84, four_cc, 4);
  Put32(h, 88, bits);
  Put32(h, 92, r);
  Put32(h, 96, g);
  Put32(h, 100, b);
  Put32(h, 104, a);
  Put32(h, 108, 0x1000);
  return h;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// A compressed 4 x 4 file whose block is `blocks`.
std::string Compressed(const char* four_cc, std::initializer_list<int> blocks) {
  return Header(4, 4, 0x4, four_cc, 0, 0, 0, 0, 0) + Bytes(blocks);
}

// `file` with the byte at `at` replaced.
std::string Patched(std::string file, std::size_t at, char value) {
  file[at] = value;
  return file;
}

std::uint32_t At(const DdsImage& img, int x, int y) {
  return img.argb[static_cast<std::size_t>(y * img.width + x)];
}

TEST(DdsFixtures, EachFormatDecodesToTheSourcePixels) {
  for (const char* name : {"pattern_none.dds", "pattern_dxt1.dds", "pattern_dxt5.dds"}) {
    SCOPED_TRACE(name);
    DdsImage img;
    std::string why;
    ASSERT_TRUE(DecodeDds(Fixture(name), img, &why)) << why;
    ASSERT_EQ(img.width, 8);
    ASSERT_EQ(img.height, 8);
    ASSERT_EQ(img.argb.size(), 64u);
    const bool opaque_only = std::string(name) == "pattern_dxt1.dds";
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        std::uint32_t want = PatternTexel(x, y);
        // ImageMagick writes DXT1 without the transparent entry: the clear
        // texels come out as opaque black.
        if (opaque_only && want == 0) want = 0xFF000000u;
        EXPECT_EQ(At(img, x, y), want) << "texel " << x << "," << y;
      }
    }
  }
}

TEST(DdsCompressed, Dxt1ColourOrderChoosesThreeOrFourColours) {
  // c0 = pure blue (0x001F) <= c1 = pure red (0xF800): three colours plus
  // transparent; indices 0, 1, 2, 3 across every row.
  DdsImage img;
  ASSERT_TRUE(DecodeDds(Compressed("DXT1", {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0xE4, 0xE4, 0xE4}), img));
  EXPECT_EQ(std::tuple(At(img, 0, 0), At(img, 1, 3), At(img, 2, 0), At(img, 3, 3)),
            std::tuple(0xFF0000FFu, 0xFFFF0000u, 0xFF7F007Fu, 0x00000000u));

  // c0 = white > c1 = black: four colours in thirds.
  ASSERT_TRUE(DecodeDds(Compressed("DXT1", {0xFF, 0xFF, 0x00, 0x00, 0xE4, 0xE4, 0xE4, 0xE4}), img));
  EXPECT_EQ(std::tuple(At(img, 0, 0), At(img, 1, 0), At(img, 2, 0), At(img, 3, 0)),
            std::tuple(0xFFFFFFFFu, 0xFF000000u, 0xFFAAAAAAu, 0xFF555555u));
}

TEST(DdsCompressed, Dxt5AlphaRampsInBothModes) {
  const std::string colour = Bytes({0x00, 0xF8, 0x00, 0xF8, 0, 0, 0, 0});  // all red
  // Eight-step mode (a0 > a1) and six-step mode (a0 <= a1, indices 6 and 7
  // are 0 and 255); the first texels take indices 0..7 (bits little-endian).
  for (const auto& [a0, a1, ramp] : {std::tuple{255, 0, std::vector<std::uint32_t>{255, 0, 219, 182, 146, 109, 73, 36, 255}},
                                     {50, 200, std::vector<std::uint32_t>{50, 200, 80, 110, 140, 170, 0, 255, 50}}}) {
    DdsImage img;
    ASSERT_TRUE(DecodeDds(Header(4, 4, 0x4, "DXT5", 0, 0, 0, 0, 0) + Bytes({a0, a1, 0x88, 0xC6, 0xFA, 0, 0, 0}) + colour, img));
    std::vector<std::uint32_t> alphas;
    for (int i = 0; i < 9; ++i) alphas.push_back(At(img, i % 4, i / 4) >> 24);  // index 0 for the rest
    EXPECT_EQ(alphas, ramp) << a0;
    EXPECT_EQ(At(img, 0, 0) & 0xFFFFFFu, 0xFF0000u);
  }
}

TEST(DdsUncompressed, MaskedChannelsWidenRounded) {
  // R5G6B5: 15/31, 31/63, 15/31 of 255, rounded.
  DdsImage img;
  ASSERT_TRUE(DecodeDds(Header(2, 1, 0x40, nullptr, 16, 0xF800, 0x07E0, 0x001F, 0) + Bytes({0xE0, 0x07, 0xEF, 0x7B}), img));
  EXPECT_EQ(img.argb, (std::vector<std::uint32_t>{0xFF00FF00u, 0xFF7B7D7Bu}));
}

TEST(DdsDamaged, EveryTruncationFailsCleanly) {
  for (const char* name : {"pattern_none.dds", "pattern_dxt1.dds", "pattern_dxt5.dds"}) {
    const std::string whole = Fixture(name);
    ASSERT_GT(whole.size(), 128u);
    for (std::size_t n = 0; n < whole.size(); ++n) {
      DdsImage img;
      // A heap copy of exactly n bytes, so a read past the end would be a real over-read.
      const std::string cut = whole.substr(0, n);
      EXPECT_FALSE(DecodeDds(cut, img)) << name << " cut to " << n;
      EXPECT_TRUE(img.argb.empty());
    }
  }
}

TEST(DdsDamaged, BadHeadersAreRejected) {
  const std::string data(64, '\x7F');
  struct Case {
    const char* what;
    std::string file;
  };
  Case cases[] = {
      {"zero width", Header(0, 4, 0x4, "DXT1", 0, 0, 0, 0, 0) + data},
      {"huge height, tiny data", Header(4, 0xFFFFFFF0u, 0x4, "DXT5", 0, 0, 0, 0, 0) + data},
      {"unknown four-cc", Header(4, 4, 0x4, "ATI2", 0, 0, 0, 0, 0) + data},
      {"no format flags", Header(4, 4, 0, nullptr, 32, 0xFF0000, 0xFF00, 0xFF, 0) + data},
      {"bit count 0", Header(4, 4, 0x40, nullptr, 0, 0xFF0000, 0xFF00, 0xFF, 0) + data},
      {"bit count 12", Header(4, 4, 0x40, nullptr, 12, 0xF00, 0xF0, 0xF, 0) + data},
      {"mask wider than pixel", Header(4, 4, 0x40, nullptr, 16, 0xFF0000, 0xFF00, 0xFF, 0) + data},
      {"no colour masks", Header(4, 4, 0x40, nullptr, 32, 0, 0, 0, 0) + data},
      {"24-bit picture one byte short", Header(2, 2, 0x40, nullptr, 24, 0xFF0000, 0xFF00, 0xFF, 0) +
                                            std::string(11, '\0')},
      {"wrong magic", Patched(Fixture("pattern_dxt1.dds"), 3, 'X')},
      {"wrong header size", Patched(Fixture("pattern_dxt1.dds"), 4, 100)},
  };
  for (const auto& c : cases) {
    DdsImage img;
    EXPECT_FALSE(DecodeDds(c.file, img)) << c.what;
    EXPECT_TRUE(img.argb.empty()) << c.what;
  }
}

}  // namespace
}  // namespace tw::render
