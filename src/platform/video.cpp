#include "platform/video.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/files.h"

namespace tw::platform {

namespace {

struct TextCacheEntry {
  FontHandle font = 0;
  std::string text;
  std::uint32_t argb = 0;
  SDL_Texture* texture = nullptr;
  int width = 0;
  int height = 0;
};

struct VideoState {
  VideoBackend backend = VideoBackend::Window;
  VideoConfig config;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* canvas = nullptr;
  bool software = false;
  int generation = 0;
  bool sdl_video_started = false;
  bool ttf_started = false;
  bool img_started = false;
  std::vector<SDL_Texture*> textures{nullptr};  // handle 0 stays empty
  // Each texture's top-left texel (0xAARRGGBB): a quad from that one texel is
  // a plain rectangle, filled directly instead of stretching the texture.
  std::vector<std::uint32_t> first_texel{0};
  std::vector<TTF_Font*> fonts{nullptr};
  // Rendered strings, most recently used first: the debug text changes a few
  // times a second, labels never, so a small cache keeps text cheap.
  std::list<TextCacheEntry> text_cache;
};

VideoState g;

constexpr std::size_t kTextCacheSize = 64;

bool Active() { return g.renderer != nullptr && g.canvas != nullptr; }

SDL_Texture* Lookup(TextureHandle handle) {
  if (handle <= 0 || static_cast<std::size_t>(handle) >= g.textures.size()) return nullptr;
  return g.textures[static_cast<std::size_t>(handle)];
}

TextureHandle Store(SDL_Texture* texture, std::uint32_t first_texel) {
  g.first_texel.resize(g.textures.size(), 0);
  for (std::size_t i = 1; i < g.textures.size(); ++i) {
    if (g.textures[i] == nullptr) {
      g.textures[i] = texture;
      g.first_texel[i] = first_texel;
      return static_cast<TextureHandle>(i);
    }
  }
  g.textures.push_back(texture);
  g.first_texel.push_back(first_texel);
  return static_cast<TextureHandle>(g.textures.size() - 1);
}

// A one-texel quad without turning, drawn as a filled rectangle: the same
// colour the stretched texel would give (texel x modulation, blended by its
// alpha), at a fraction of the software renderer's cost for large areas.
void FillFromTexel(std::uint32_t texel, std::uint32_t argb, SDL_FRect dst) {
  const auto channel = [](std::uint32_t word, int shift) { return (word >> shift) & 0xFFu; };
  const auto mul = [](std::uint32_t a, std::uint32_t b) { return static_cast<Uint8>(a * b / 255u); };
  const Uint8 a = mul(channel(texel, 24), channel(argb, 24));
  if (a == 0) return;
  SDL_SetRenderDrawBlendMode(g.renderer, a == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
  SDL_SetRenderDrawColor(g.renderer, mul(channel(texel, 16), channel(argb, 16)),
                         mul(channel(texel, 8), channel(argb, 8)), mul(channel(texel, 0), channel(argb, 0)), a);
  SDL_RenderFillRectF(g.renderer, &dst);
}

void ClearTextCache() {
  for (auto& e : g.text_cache) SDL_DestroyTexture(e.texture);
  g.text_cache.clear();
}

void DestroyRenderer() {
  ClearTextCache();
  for (auto& t : g.textures) {
    if (t != nullptr) SDL_DestroyTexture(t);
    t = nullptr;
  }
  g.textures.assign(1, nullptr);
  g.first_texel.assign(1, 0);
  if (g.canvas != nullptr) SDL_DestroyTexture(g.canvas);
  g.canvas = nullptr;
  if (g.renderer != nullptr) SDL_DestroyRenderer(g.renderer);
  g.renderer = nullptr;
  if (g.window != nullptr) SDL_DestroyWindow(g.window);
  g.window = nullptr;
}

// Where the canvas goes in the window: stretched over the whole client area
// in a window; in full screen, as large as fits while keeping its shape.
SDL_Rect PresentRect() {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(g.renderer, &w, &h);
  if (!g.config.full_screen) return SDL_Rect{0, 0, w, h};
  const int cw = g.config.canvas_width, ch = g.config.canvas_height;
  int dw = w, dh = w * ch / cw;
  if (dh > h) {
    dh = h;
    dw = h * cw / ch;
  }
  return SDL_Rect{(w - dw) / 2, (h - dh) / 2, dw, dh};
}

}  // namespace

void SetVideoBackend(VideoBackend backend) { g.backend = backend; }
VideoBackend GetVideoBackend() { return g.backend; }

bool OpenDisplay(const VideoConfig& config) {
  if (g.backend == VideoBackend::Headless) return true;
  DestroyRenderer();
  g.config = config;
  if (!g.sdl_video_started) {
    if (g.backend == VideoBackend::Offscreen) SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      std::fprintf(stderr, "tumblewell: cannot start video: %s\n", SDL_GetError());
      return false;
    }
    g.sdl_video_started = true;
  }
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI;
  if (g.backend == VideoBackend::Offscreen) {
    flags |= SDL_WINDOW_HIDDEN;
  } else if (config.full_screen) {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  }
  g.window = SDL_CreateWindow(config.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              config.window_width, config.window_height, flags);
  if (g.window == nullptr) return false;
  if (g.backend == VideoBackend::Offscreen) {
    g.renderer = SDL_CreateRenderer(g.window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
  } else {
    g.renderer = SDL_CreateRenderer(g.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (g.renderer == nullptr) {
      g.renderer = SDL_CreateRenderer(g.window, -1, SDL_RENDERER_TARGETTEXTURE);
    }
  }
  if (g.renderer == nullptr) {
    DestroyRenderer();
    return false;
  }
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(g.renderer, &info);
  g.software = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  g.canvas = SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                               config.canvas_width, config.canvas_height);
  if (g.canvas == nullptr) {
    DestroyRenderer();
    return false;
  }
  // Smooth stretch onto the window; drawing inside the canvas chooses per texture.
  SDL_SetTextureScaleMode(g.canvas, g.software ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  SDL_SetRenderTarget(g.renderer, g.canvas);
  SDL_SetRenderDrawBlendMode(g.renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(g.renderer, 0, 0, 0, 255);
  SDL_RenderClear(g.renderer);  // a defined first picture; frames never clear afterwards
  ++g.generation;
  if (!g.img_started) {
    IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
    g.img_started = true;
  }
  if (!g.ttf_started && TTF_Init() == 0) g.ttf_started = true;
  return true;
}

void CloseDisplay() {
  for (auto& f : g.fonts) {
    if (f != nullptr) TTF_CloseFont(f);
    f = nullptr;
  }
  g.fonts.assign(1, nullptr);
  DestroyRenderer();
  if (g.ttf_started) TTF_Quit();
  g.ttf_started = false;
  if (g.img_started) IMG_Quit();
  g.img_started = false;
  if (g.sdl_video_started) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  g.sdl_video_started = false;
}

bool HasDisplay() { return Active(); }

int DisplayGeneration() { return g.generation; }

void ShowMessage(std::string_view title, std::string_view text) {
  const std::string t(title), m(text);
  if (g.backend == VideoBackend::Window &&
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, t.c_str(), m.c_str(), g.window) == 0) {
    return;
  }
  std::fprintf(stderr, "%s: %s\n", t.c_str(), m.c_str());
}

void SetCursorVisible(bool visible) {
  if (g.backend != VideoBackend::Window || !g.sdl_video_started) return;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void WarpCursor(int x, int y) {
  // Moving the player's pointer across the desktop is unfriendly; inside our
  // own window it is harmless, so the warp is kept to the window.
  if (g.backend != VideoBackend::Window || g.window == nullptr) return;
  if ((SDL_GetWindowFlags(g.window) & SDL_WINDOW_INPUT_FOCUS) == 0) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(g.window, &w, &h);
  SDL_WarpMouseInWindow(g.window, std::clamp(x, 0, std::max(0, w - 1)), std::clamp(y, 0, std::max(0, h - 1)));
}

TextureHandle LoadImageTexture(const std::string& path, bool use_color_key, std::uint32_t color_key,
                               bool point_filter) {
  if (!Active()) return 0;
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (loaded == nullptr) return 0;
  SDL_Surface* surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (surface == nullptr) return 0;
  if (use_color_key) {
    const std::uint32_t key = color_key & 0xFFFFFFu;
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                   static_cast<std::ptrdiff_t>(y) * surface->pitch);
      for (int x = 0; x < surface->w; ++x) {
        if ((row[x] & 0xFFFFFFu) == key) row[x] = 0;  // transparent black
      }
    }
    SDL_UnlockSurface(surface);
  }
  SDL_LockSurface(surface);
  const std::uint32_t first = *static_cast<const std::uint32_t*>(surface->pixels);
  SDL_UnlockSurface(surface);
  SDL_Texture* texture = SDL_CreateTextureFromSurface(g.renderer, surface);
  SDL_FreeSurface(surface);
  if (texture == nullptr) return 0;
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture, (point_filter || g.software) ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  return Store(texture, first);
}

TextureHandle CreateTexture(int width, int height, const std::uint32_t* argb, bool point_filter) {
  if (!Active() || width <= 0 || height <= 0 || argb == nullptr) return 0;
  SDL_Texture* texture =
      SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
  if (texture == nullptr) return 0;
  if (SDL_UpdateTexture(texture, nullptr, argb, width * 4) != 0) {
    SDL_DestroyTexture(texture);
    return 0;
  }
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture, (point_filter || g.software) ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  return Store(texture, argb[0]);
}

void DestroyTexture(TextureHandle texture) {
  if (SDL_Texture* t = Lookup(texture)) {
    SDL_DestroyTexture(t);
    g.textures[static_cast<std::size_t>(texture)] = nullptr;
  }
}

bool TextureSize(TextureHandle texture, int& width, int& height) {
  SDL_Texture* t = Lookup(texture);
  if (t == nullptr) return false;
  return SDL_QueryTexture(t, nullptr, nullptr, &width, &height) == 0;
}

void DrawQuad(TextureHandle texture, const Quad& q) {
  SDL_Texture* t = Lookup(texture);
  if (t == nullptr || !Active()) return;
  if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.width) || !std::isfinite(q.height) ||
      !std::isfinite(q.angle_ccw)) {
    return;
  }
  if (q.src_x == 0 && q.src_y == 0 && q.src_w == 1 && q.src_h == 1 && q.angle_ccw == 0.0f) {
    const SDL_FRect rect{std::min(q.x, q.x + q.width), std::min(q.y, q.y + q.height), std::fabs(q.width),
                         std::fabs(q.height)};
    FillFromTexel(g.first_texel[static_cast<std::size_t>(texture)], q.argb, rect);
    return;
  }
  SDL_SetTextureColorMod(t, static_cast<Uint8>(q.argb >> 16), static_cast<Uint8>(q.argb >> 8),
                         static_cast<Uint8>(q.argb));
  SDL_SetTextureAlphaMod(t, static_cast<Uint8>(q.argb >> 24));
  const SDL_Rect src{q.src_x, q.src_y, q.src_w, q.src_h};
  // A negative size mirrors the picture, as a negative scale does.
  SDL_RendererFlip flip = SDL_FLIP_NONE;
  SDL_FRect dst{q.x, q.y, q.width, q.height};
  float cx = q.center_x, cy = q.center_y;
  if (dst.w < 0) {
    dst.w = -dst.w;
    dst.x -= dst.w;
    cx += dst.w;
    flip = static_cast<SDL_RendererFlip>(flip | SDL_FLIP_HORIZONTAL);
  }
  if (dst.h < 0) {
    dst.h = -dst.h;
    dst.y -= dst.h;
    cy += dst.h;
    flip = static_cast<SDL_RendererFlip>(flip | SDL_FLIP_VERTICAL);
  }
  const SDL_FPoint center{cx, cy};
  // SDL turns clockwise on a y-down canvas; the game's angles turn anticlockwise.
  SDL_RenderCopyExF(g.renderer, t, &src, &dst, -static_cast<double>(q.angle_ccw), &center, flip);
}

FontHandle OpenTextFont(int points) {
  if (!Active() || !g.ttf_started) return 0;
  static const char* const kFaces[] = {
      "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
      "/usr/share/fonts/TTF/DejaVuSans.ttf",
      "/usr/share/fonts/dejavu/DejaVuSans.ttf",
      "/usr/local/share/fonts/DejaVuSans.ttf",
  };
  for (const char* face : kFaces) {
    if (!FileExists(face)) continue;
    TTF_Font* font = TTF_OpenFontDPI(face, points, 96, 96);
    if (font == nullptr) continue;
    g.fonts.push_back(font);
    return static_cast<FontHandle>(g.fonts.size() - 1);
  }
  return 0;
}

void DrawText(FontHandle font, int left, int top, int width, int height, std::string_view text,
              std::uint32_t argb, int align) {
  if (!Active() || font <= 0 || static_cast<std::size_t>(font) >= g.fonts.size() || text.empty() ||
      width <= 0 || height <= 0) {
    return;
  }
  TTF_Font* f = g.fonts[static_cast<std::size_t>(font)];
  if (f == nullptr) return;
  auto it = std::find_if(g.text_cache.begin(), g.text_cache.end(), [&](const TextCacheEntry& e) {
    return e.font == font && e.argb == argb && e.text == text;
  });
  if (it == g.text_cache.end()) {
    const std::string s(text);
    const SDL_Color color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                          static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
    SDL_Surface* surface = TTF_RenderUTF8_Blended(f, s.c_str(), color);
    if (surface == nullptr) return;
    TextCacheEntry entry{font, s, argb, SDL_CreateTextureFromSurface(g.renderer, surface), surface->w,
                         surface->h};
    SDL_FreeSurface(surface);
    if (entry.texture == nullptr) return;
    SDL_SetTextureBlendMode(entry.texture, SDL_BLENDMODE_BLEND);
    g.text_cache.push_front(std::move(entry));
    if (g.text_cache.size() > kTextCacheSize) {
      SDL_DestroyTexture(g.text_cache.back().texture);
      g.text_cache.pop_back();
    }
    it = g.text_cache.begin();
  } else if (it != g.text_cache.begin()) {
    g.text_cache.splice(g.text_cache.begin(), g.text_cache, it);
    it = g.text_cache.begin();
  }
  const int x = (align == 2) ? left + width - it->width : left;
  const SDL_Rect clip{left, top, width, height};
  const SDL_Rect dst{x, top, it->width, it->height};
  SDL_RenderSetClipRect(g.renderer, &clip);
  SDL_RenderCopy(g.renderer, it->texture, nullptr, &dst);
  SDL_RenderSetClipRect(g.renderer, nullptr);
}

void Present() {
  if (!Active()) return;
  if (g.backend == VideoBackend::Window) {
    SDL_SetRenderTarget(g.renderer, nullptr);
    SDL_SetRenderDrawColor(g.renderer, 0, 0, 0, 255);
    SDL_RenderClear(g.renderer);
    const SDL_Rect dst = PresentRect();
    SDL_RenderCopy(g.renderer, g.canvas, nullptr, &dst);
    SDL_RenderPresent(g.renderer);
    SDL_SetRenderTarget(g.renderer, g.canvas);
  } else {
    // Nothing is shown, but the frame's queued drawing is carried out now:
    // otherwise it piles up until the next read of the canvas.
    SDL_RenderFlush(g.renderer);
  }
}

bool ReadCanvas(std::vector<std::uint32_t>& pixels, int& width, int& height) {
  if (!Active()) return false;
  width = g.config.canvas_width;
  height = g.config.canvas_height;
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  return SDL_RenderReadPixels(g.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), width * 4) == 0;
}

bool ReadCanvasScaled(int width, int height, std::vector<std::uint32_t>& pixels) {
  if (!Active() || width <= 0 || height <= 0) return false;
  if (width == g.config.canvas_width && height == g.config.canvas_height) {
    int w = 0, h = 0;
    return ReadCanvas(pixels, w, h);
  }
  SDL_Texture* scaled =
      SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
  if (scaled == nullptr) return false;
  SDL_SetRenderTarget(g.renderer, scaled);
  SDL_SetTextureBlendMode(g.canvas, SDL_BLENDMODE_NONE);
  SDL_RenderCopy(g.renderer, g.canvas, nullptr, nullptr);
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  const bool ok = SDL_RenderReadPixels(g.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), width * 4) == 0;
  SDL_SetRenderTarget(g.renderer, g.canvas);
  SDL_DestroyTexture(scaled);
  return ok;
}

void WindowClientSize(int& width, int& height) {
  width = g.config.canvas_width;
  height = g.config.canvas_height;
  if (g.backend == VideoBackend::Window && g.window != nullptr) {
    SDL_GetWindowSize(g.window, &width, &height);
  }
}

bool SaveBitmap(const std::string& path, int width, int height, const std::vector<std::uint32_t>& argb) {
  if (width <= 0 || height <= 0 || argb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return false;
  }
  const int row_bytes = (width * 3 + 3) & ~3;
  const std::uint32_t image_bytes = static_cast<std::uint32_t>(row_bytes) * static_cast<std::uint32_t>(height);
  std::string out(54 + image_bytes, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto put16 = [&](std::size_t at, std::uint16_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8);
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, 54 + image_bytes);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  put16(26, 1);
  put16(28, 24);
  put32(34, image_bytes);
  put32(38, 2835);
  put32(42, 2835);
  for (int y = 0; y < height; ++y) {
    const std::size_t row = 54 + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(row_bytes);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
      out[row + static_cast<std::size_t>(x) * 3 + 0] = static_cast<char>(p & 0xFF);
      out[row + static_cast<std::size_t>(x) * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
      out[row + static_cast<std::size_t>(x) * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
    }
  }
  return WriteFileAtomic(path, out);
}

}  // namespace tw::platform
