#include "formats.hpp"

#include <SDL.h>
#include <SDL_image.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace datagen {

namespace {

std::uint8_t to8(float v) {
  v = std::clamp(v, 0.0f, 1.0f);
  return static_cast<std::uint8_t>(std::lround(v * 255.0f));
}

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v & 0xFF));
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
void putTag(std::vector<std::uint8_t>& b, const char* t) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(t[i]));
}

}  // namespace

std::vector<std::uint8_t> flattenKeyed(const Image& img) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(img.w * img.h) * 3);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const Color c = img.get(x, y);
      std::uint8_t* o = &out[static_cast<std::size_t>(y * img.w + x) * 3];
      if (c.a < 0.5f) {
        o[0] = 255;
        o[1] = 0;
        o[2] = 255;
      } else {
        o[0] = to8(c.r);
        o[1] = to8(c.g);
        o[2] = to8(c.b);
        // A drawn texel must never turn into the key by accident.
        if (o[0] == 255 && o[1] == 0 && o[2] == 255) o[1] = 1;
      }
    }
  return out;
}

std::vector<std::uint8_t> toRgba8(const Image& img, bool bleed) {
  const std::size_t n = static_cast<std::size_t>(img.w * img.h);
  std::vector<float> col(n * 3, 0.0f);
  std::vector<float> known(n, 0.0f);
  std::vector<std::uint8_t> out(n * 4);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const std::size_t i = static_cast<std::size_t>(y * img.w + x);
      const Color c = img.get(x, y);
      col[i * 3] = c.r;
      col[i * 3 + 1] = c.g;
      col[i * 3 + 2] = c.b;
      known[i] = c.a > 0.004f ? 1.0f : 0.0f;
      out[i * 4 + 3] = to8(c.a);
    }
  if (bleed) {
    for (int pass = 0; pass < 6; ++pass) {
      std::vector<float> nextKnown = known;
      for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
          const std::size_t i = static_cast<std::size_t>(y * img.w + x);
          if (known[i] > 0) continue;
          float s[3] = {0, 0, 0};
          float cnt = 0;
          for (int j = -1; j <= 1; ++j)
            for (int k = -1; k <= 1; ++k) {
              const int xx = x + k, yy = y + j;
              if (xx < 0 || yy < 0 || xx >= img.w || yy >= img.h) continue;
              const std::size_t q = static_cast<std::size_t>(yy * img.w + xx);
              if (known[q] <= 0) continue;
              for (int c = 0; c < 3; ++c) s[c] += col[q * 3 + static_cast<std::size_t>(c)];
              cnt += 1;
            }
          if (cnt > 0) {
            for (int c = 0; c < 3; ++c) col[i * 3 + static_cast<std::size_t>(c)] = s[c] / cnt;
            nextKnown[i] = 1;
          }
        }
      known.swap(nextKnown);
    }
  }
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < 3; ++c) out[i * 4 + c] = to8(col[i * 3 + c]);
  return out;
}

std::vector<std::uint8_t> encodeBmp24(int w, int h, const std::vector<std::uint8_t>& rgb) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
  const std::uint32_t dataSize = rowBytes * static_cast<std::uint32_t>(h);
  std::vector<std::uint8_t> b;
  b.reserve(54 + dataSize);
  b.push_back('B');
  b.push_back('M');
  put32(b, 54 + dataSize);
  put32(b, 0);
  put32(b, 54);
  put32(b, 40);  // BITMAPINFOHEADER
  put32(b, static_cast<std::uint32_t>(w));
  put32(b, static_cast<std::uint32_t>(h));  // positive: rows stored bottom-up
  put16(b, 1);
  put16(b, 24);
  put32(b, 0);  // BI_RGB
  put32(b, dataSize);
  put32(b, 2835);  // 72 dpi
  put32(b, 2835);
  put32(b, 0);
  put32(b, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = &rgb[static_cast<std::size_t>(y * w + x) * 3];
      b.push_back(p[2]);
      b.push_back(p[1]);
      b.push_back(p[0]);
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(w) * 3; pad < rowBytes; ++pad) b.push_back(0);
  }
  return b;
}

std::vector<std::uint8_t> encodeDdsArgb(int w, int h, const std::vector<std::uint8_t>& rgba) {
  std::vector<std::uint8_t> b;
  b.reserve(128 + rgba.size());
  putTag(b, "DDS ");
  put32(b, 124);
  put32(b, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);  // CAPS | HEIGHT | WIDTH | PITCH | PIXELFORMAT
  put32(b, static_cast<std::uint32_t>(h));
  put32(b, static_cast<std::uint32_t>(w));
  put32(b, static_cast<std::uint32_t>(w) * 4);  // pitch
  put32(b, 0);                                  // depth
  put32(b, 0);                                  // mipmap count
  for (int i = 0; i < 11; ++i) put32(b, 0);
  put32(b, 32);           // pixel format size
  put32(b, 0x1 | 0x40);   // ALPHAPIXELS | RGB
  put32(b, 0);            // no FourCC
  put32(b, 32);           // bits per pixel
  put32(b, 0x00FF0000);   // red
  put32(b, 0x0000FF00);   // green
  put32(b, 0x000000FF);   // blue
  put32(b, 0xFF000000u);  // alpha
  put32(b, 0x1000);       // DDSCAPS_TEXTURE
  put32(b, 0);
  put32(b, 0);
  put32(b, 0);
  put32(b, 0);
  for (std::size_t i = 0; i < rgba.size(); i += 4) {
    b.push_back(rgba[i + 2]);
    b.push_back(rgba[i + 1]);
    b.push_back(rgba[i]);
    b.push_back(rgba[i + 3]);
  }
  return b;
}

std::vector<std::uint8_t> encodeWav16(const Audio& a) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(a.samples.size() * 2);
  std::vector<std::uint8_t> b;
  b.reserve(44 + dataBytes);
  putTag(b, "RIFF");
  put32(b, 36 + dataBytes);
  putTag(b, "WAVE");
  putTag(b, "fmt ");
  put32(b, 16);
  put16(b, 1);  // PCM
  put16(b, static_cast<std::uint32_t>(a.channels));
  put32(b, static_cast<std::uint32_t>(a.rate));
  put32(b, static_cast<std::uint32_t>(a.rate * a.channels * 2));
  put16(b, static_cast<std::uint32_t>(a.channels * 2));
  put16(b, 16);
  putTag(b, "data");
  put32(b, dataBytes);
  for (float s : a.samples) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    put16(b, static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
  }
  return b;
}

std::vector<std::uint8_t> encodeOggVorbis(const Audio& a, float quality) {
  std::vector<std::uint8_t> out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, a.channels, a.rate, quality) != 0) {
    vorbis_info_clear(&vi);
    return out;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x54570001);  // fixed: a random serial would change the bytes every run
  const auto append = [&](const ogg_page& pg) {
    out.insert(out.end(), pg.header, pg.header + pg.header_len);
    out.insert(out.end(), pg.body, pg.body + pg.body_len);
  };
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&os, &page) != 0) append(page);

  const auto channels = static_cast<std::size_t>(a.channels);
  const std::size_t frames = a.samples.size() / channels;
  constexpr std::size_t kChunk = 4096;
  bool eos = false;
  for (std::size_t at = 0; !eos;) {
    const std::size_t n = std::min(kChunk, frames - at);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);  // end of stream
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (std::size_t i = 0; i < n; ++i)
        for (std::size_t c = 0; c < channels; ++c) buffer[c][i] = a.samples[(at + i) * channels + c];
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      at += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet) == 1) {
        ogg_stream_packetin(&os, &packet);
        while (!eos && ogg_stream_pageout(&os, &page) != 0) {
          append(page);
          if (ogg_page_eos(&page) != 0) eos = true;
        }
      }
    }
    if (n == 0 && !eos) {
      while (ogg_stream_flush(&os, &page) != 0) append(page);
      eos = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

bool makeParentDirs(const std::string& path) {
  std::error_code ec;
  const auto parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  return !ec;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (!makeParentDirs(path)) return false;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool writePicture(const std::string& path, const Image& img, PicFormat fmt) {
  switch (fmt) {
    case PicFormat::BmpKeyed:
      return writeFile(path, encodeBmp24(img.w, img.h, flattenKeyed(img)));
    case PicFormat::Bmp: {
      const auto rgba = toRgba8(img, false);
      std::vector<std::uint8_t> rgb(static_cast<std::size_t>(img.w * img.h) * 3);
      for (std::size_t i = 0; i < rgb.size() / 3; ++i)
        for (std::size_t c = 0; c < 3; ++c) {
          // Opaque pictures: whatever shows through is black.
          rgb[i * 3 + c] = static_cast<std::uint8_t>(rgba[i * 4 + c] * rgba[i * 4 + 3] / 255);
        }
      return writeFile(path, encodeBmp24(img.w, img.h, rgb));
    }
    case PicFormat::Dds:
      return writeFile(path, encodeDdsArgb(img.w, img.h, toRgba8(img, true)));
    case PicFormat::Png:
    case PicFormat::Jpg: {
      auto rgba = toRgba8(img, fmt == PicFormat::Png);
      if (!makeParentDirs(path)) return false;
      SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), img.w, img.h, 32, img.w * 4,
                                                          SDL_PIXELFORMAT_RGBA32);
      if (!s) return false;
      const int rc = fmt == PicFormat::Png ? IMG_SavePNG(s, path.c_str()) : IMG_SaveJPG(s, path.c_str(), 92);
      SDL_FreeSurface(s);
      return rc == 0;
    }
  }
  return false;
}

}  // namespace datagen
