#include "platform/video.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "platform/soft_raster.h"
#include "platform/web.h"

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
  // Offscreen, the canvas is a surface of our own that the software renderer
  // draws into: turned pictures and modulated copies are then drawn straight
  // into its pixels (see soft_raster.h) instead of through the renderer's
  // slow paths.
  SDL_Surface* canvas_surface = nullptr;
  bool fast_paths = true;
  bool software = false;
  int generation = 0;
  bool sdl_video_started = false;
  bool ttf_started = false;
  bool img_started = false;
  std::vector<SDL_Texture*> textures{nullptr};  // handle 0 stays empty
  // Each texture's top-left texel (0xAARRGGBB): a quad from that one texel is
  // a plain rectangle, filled directly instead of stretching the texture.
  std::vector<std::uint32_t> first_texel{0};
  // With the software renderer, the texels of the smaller textures, so that
  // turned quads can be drawn by our own sampling (see DrawTurned).
  std::vector<std::vector<std::uint32_t>> texels{{}};
  std::vector<int> texel_width{0};
  SDL_Texture* turn_scratch = nullptr;
  std::vector<std::uint32_t> turn_buffer;
  std::vector<TTF_Font*> fonts{nullptr};
  // Rendered strings, most recently used first: the debug text changes a few
  // times a second, labels never, so a small cache keeps text cheap.
  std::list<TextCacheEntry> text_cache;
};

VideoState g;

constexpr std::size_t kTextCacheSize = 64;

bool Active() { return g.renderer != nullptr && (g.canvas != nullptr || g.canvas_surface != nullptr); }

bool FastPaths() { return g.fast_paths && g.canvas_surface != nullptr; }

// The canvas pixels for drawing of our own; the renderer's queued drawing is
// carried out first so that the order of the frame's draws is kept.
soft::Canvas OwnCanvas() {
  SDL_RenderFlush(g.renderer);
  SDL_Surface* s = g.canvas_surface;
  return soft::Canvas{static_cast<std::uint32_t*>(s->pixels), s->w, s->h, s->pitch / 4};
}

SDL_Texture* Lookup(TextureHandle handle) {
  if (handle <= 0 || static_cast<std::size_t>(handle) >= g.textures.size()) return nullptr;
  return g.textures[static_cast<std::size_t>(handle)];
}

void ForgetTurnedCopies(std::size_t slot);

constexpr int kTurnArea = 256;  // largest turned quad (bounding box side) drawn by our own sampling

// `pixels` are width x height ARGB words, rows `pitch` words apart.
TextureHandle Store(SDL_Texture* texture, const std::uint32_t* pixels, int width, int height, int pitch) {
  g.first_texel.resize(g.textures.size(), 0);
  g.texels.resize(g.textures.size());
  g.texel_width.resize(g.textures.size(), 0);
  std::size_t slot = g.textures.size();
  for (std::size_t i = 1; i < g.textures.size(); ++i) {
    if (g.textures[i] == nullptr) {
      slot = i;
      break;
    }
  }
  if (slot == g.textures.size()) {
    g.textures.push_back(nullptr);
    g.first_texel.push_back(0);
    g.texels.emplace_back();
    g.texel_width.push_back(0);
  }
  g.textures[slot] = texture;
  g.first_texel[slot] = pixels[0];
  g.texels[slot].clear();
  g.texel_width[slot] = 0;
  // Our own drawing needs the texels: all of them with our own canvas, the
  // smaller ones for the turn scratch otherwise.
  if (g.canvas_surface != nullptr || (g.software && width <= kTurnArea && height <= kTurnArea)) {
    auto& copy = g.texels[slot];
    copy.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
      std::copy_n(pixels + static_cast<std::ptrdiff_t>(y) * pitch, width,
                  copy.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    g.texel_width[slot] = width;
  }
  return static_cast<TextureHandle>(slot);
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
  g.texels.assign(1, {});
  g.texel_width.assign(1, 0);
  if (g.turn_scratch != nullptr) SDL_DestroyTexture(g.turn_scratch);
  g.turn_scratch = nullptr;
  if (g.canvas != nullptr) SDL_DestroyTexture(g.canvas);
  g.canvas = nullptr;
  if (g.renderer != nullptr) SDL_DestroyRenderer(g.renderer);
  g.renderer = nullptr;
  if (g.canvas_surface != nullptr) SDL_FreeSurface(g.canvas_surface);
  g.canvas_surface = nullptr;
  if (g.window != nullptr) SDL_DestroyWindow(g.window);
  g.window = nullptr;
}

// Where the canvas goes in the window's drawable area (pixels, so a
// high-density display gets the full resolution rather than an upscale).
SDL_Rect PresentRect() {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(g.renderer, &w, &h);
  const ShownRect r = FitCanvas(w, h, g.config.canvas_width, g.config.canvas_height, g.config.integer_scale);
  return SDL_Rect{r.x, r.y, r.width, r.height};
}

}  // namespace

ShownRect FitCanvas(int out_width, int out_height, int canvas_width, int canvas_height, bool integer_scale) {
  if (out_width <= 0 || out_height <= 0 || canvas_width <= 0 || canvas_height <= 0) return {};
  int dw = out_width, dh = static_cast<int>(static_cast<long long>(out_width) * canvas_height / canvas_width);
  if (dh > out_height) {
    dh = out_height;
    dw = static_cast<int>(static_cast<long long>(out_height) * canvas_width / canvas_height);
  }
  const int whole = std::min(out_width / canvas_width, out_height / canvas_height);
  if (integer_scale && whole >= 1) {
    dw = canvas_width * whole;
    dh = canvas_height * whole;
  }
  return ShownRect{(out_width - dw) / 2, (out_height - dh) / 2, dw, dh};
}

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
  Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
  int window_width = config.window_width, window_height = config.window_height;
  if (BrowserOwnsLoop()) {
    // The page's canvas keeps the game's own size and the browser scales it
    // into the box the page gives it. The picture holds no more detail than
    // the canvas anyway; a backing store of box size times the pixel density
    // would cost the software renderer a full-size copy every frame, and its
    // framebuffer fills only the box's size in CSS pixels (a quarter of the
    // box at density 2) when SDL is allowed high density.
    flags = 0;
    window_width = config.canvas_width;
    window_height = config.canvas_height;
  }
  if (g.backend == VideoBackend::Offscreen) {
    flags |= SDL_WINDOW_HIDDEN;
  } else if (config.full_screen) {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  }
  g.window = SDL_CreateWindow(config.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              window_width, window_height, flags);
  if (g.window == nullptr) return false;
  if (g.backend == VideoBackend::Offscreen) {
    g.canvas_surface =
        SDL_CreateRGBSurfaceWithFormat(0, config.canvas_width, config.canvas_height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (g.canvas_surface != nullptr) g.renderer = SDL_CreateSoftwareRenderer(g.canvas_surface);
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
  g.software = g.canvas_surface != nullptr || (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  if (g.canvas_surface == nullptr) {
    g.canvas = SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                 config.canvas_width, config.canvas_height);
    if (g.canvas == nullptr) {
      DestroyRenderer();
      return false;
    }
    // Smooth stretch onto the window, crisp when only whole multiples are
    // shown; drawing inside the canvas chooses per texture.
    SDL_SetTextureScaleMode(g.canvas,
                            g.software || config.integer_scale ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_SetRenderTarget(g.renderer, g.canvas);
  }
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

bool SetFullScreen(bool full_screen) {
  if (g.window == nullptr || g.backend != VideoBackend::Window) return false;
  if (SDL_SetWindowFullscreen(g.window, full_screen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
  g.config.full_screen = full_screen;
  return true;
}

bool IsFullScreen() { return g.window != nullptr && g.config.full_screen; }

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

TextureHandle LoadImageTexture(std::string_view bytes, bool use_color_key, std::uint32_t color_key,
                               bool point_filter) {
  if (!Active() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) return 0;
  SDL_Surface* loaded = IMG_Load_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
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
  SDL_Texture* texture = SDL_CreateTextureFromSurface(g.renderer, surface);
  if (texture == nullptr) {
    SDL_FreeSurface(surface);
    return 0;
  }
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture, (point_filter || g.software) ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  SDL_LockSurface(surface);
  const TextureHandle handle = Store(texture, static_cast<const std::uint32_t*>(surface->pixels), surface->w,
                                     surface->h, surface->pitch / 4);
  SDL_UnlockSurface(surface);
  SDL_FreeSurface(surface);
  return handle;
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
  return Store(texture, argb, width, height, width);
}

void DestroyTexture(TextureHandle texture) {
  if (SDL_Texture* t = Lookup(texture)) {
    SDL_DestroyTexture(t);
    g.textures[static_cast<std::size_t>(texture)] = nullptr;
    g.texels[static_cast<std::size_t>(texture)] = {};
    g.texel_width[static_cast<std::size_t>(texture)] = 0;
    ForgetTurnedCopies(static_cast<std::size_t>(texture));
  }
}

bool TextureSize(TextureHandle texture, int& width, int& height) {
  SDL_Texture* t = Lookup(texture);
  if (t == nullptr) return false;
  return SDL_QueryTexture(t, nullptr, nullptr, &width, &height) == 0;
}

namespace {

// A turned quad drawn by our own nearest-texel sampling into a scratch
// texture with the colour and opacity already applied, then blended as a
// plain copy. The software renderer would instead copy, modulate and turn a
// temporary picture on every draw, at about twice the cost. False when the
// quad is not one this handles (no texel copy, mirrored, too large).
bool DrawTurned(std::size_t slot, const Quad& q) {
  const std::vector<std::uint32_t>& texels = g.texels[slot];
  const int tw = g.texel_width[slot];
  if (texels.empty() || tw <= 0 || !(q.width > 0) || !(q.height > 0) || q.src_w <= 0 || q.src_h <= 0) return false;
  const int th = static_cast<int>(texels.size()) / tw;
  if (q.src_x < 0 || q.src_y < 0 || q.src_x + q.src_w > tw || q.src_y + q.src_h > th) return false;

  const double rad = static_cast<double>(q.angle_ccw) * 3.14159265358979323846 / 180.0;
  const double c = std::cos(rad), s = std::sin(rad);
  const double px = static_cast<double>(q.x) + q.center_x, py = static_cast<double>(q.y) + q.center_y;
  // Corners turned anticlockwise on the y-down canvas: (dx, dy) -> (dx c + dy s, -dx s + dy c).
  double minx = 1e300, maxx = -1e300, miny = 1e300, maxy = -1e300;
  for (double dx : {-static_cast<double>(q.center_x), static_cast<double>(q.width) - q.center_x}) {
    for (double dy : {-static_cast<double>(q.center_y), static_cast<double>(q.height) - q.center_y}) {
      const double x = px + dx * c + dy * s, y = py - dx * s + dy * c;
      minx = std::min(minx, x);
      maxx = std::max(maxx, x);
      miny = std::min(miny, y);
      maxy = std::max(maxy, y);
    }
  }
  // Clamped to the canvas while still floating point, so the conversions
  // below are always in range.
  const double cw = g.config.canvas_width, ch = g.config.canvas_height;
  const int x0 = static_cast<int>(std::clamp(std::floor(minx), 0.0, cw));
  const int y0 = static_cast<int>(std::clamp(std::floor(miny), 0.0, ch));
  const int x1 = static_cast<int>(std::clamp(std::ceil(maxx), 0.0, cw));
  const int y1 = static_cast<int>(std::clamp(std::ceil(maxy), 0.0, ch));
  const int bw = x1 - x0, bh = y1 - y0;
  if (bw <= 0 || bh <= 0) return true;  // off the canvas
  if (bw > kTurnArea || bh > kTurnArea) return false;
  if (g.turn_scratch == nullptr) {
    g.turn_scratch =
        SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kTurnArea, kTurnArea);
    if (g.turn_scratch == nullptr) return false;
    SDL_SetTextureBlendMode(g.turn_scratch, SDL_BLENDMODE_BLEND);
    g.turn_buffer.assign(static_cast<std::size_t>(kTurnArea) * kTurnArea, 0);
  }

  const std::uint32_t ma = q.argb >> 24, mr = (q.argb >> 16) & 0xFFu, mg = (q.argb >> 8) & 0xFFu, mb = q.argb & 0xFFu;
  const double sx_scale = q.src_w / static_cast<double>(q.width), sy_scale = q.src_h / static_cast<double>(q.height);
  for (int y = 0; y < bh; ++y) {
    std::uint32_t* row = g.turn_buffer.data() + static_cast<std::ptrdiff_t>(y) * bw;
    const double dy = y0 + y + 0.5 - py;
    for (int x = 0; x < bw; ++x) {
      const double dx = x0 + x + 0.5 - px;
      // Back from the canvas into the quad: the inverse turn.
      const double lx = dx * c - dy * s + q.center_x, ly = dx * s + dy * c + q.center_y;
      if (lx < 0 || ly < 0 || lx >= q.width || ly >= q.height) {
        row[x] = 0;
        continue;
      }
      const int sx = q.src_x + std::min(q.src_w - 1, static_cast<int>(lx * sx_scale));
      const int sy = q.src_y + std::min(q.src_h - 1, static_cast<int>(ly * sy_scale));
      const std::uint32_t t = texels[static_cast<std::size_t>(sy) * static_cast<std::size_t>(tw) +
                                     static_cast<std::size_t>(sx)];
      row[x] = (((t >> 24) * ma / 255u) << 24) | ((((t >> 16) & 0xFFu) * mr / 255u) << 16) |
               ((((t >> 8) & 0xFFu) * mg / 255u) << 8) | ((t & 0xFFu) * mb / 255u);
    }
  }
  const SDL_Rect area{0, 0, bw, bh};
  // Updating the scratch first carries out any queued draw that still uses it.
  SDL_UpdateTexture(g.turn_scratch, &area, g.turn_buffer.data(), bw * 4);
  const SDL_Rect dst{x0, y0, bw, bh};
  SDL_RenderCopy(g.renderer, g.turn_scratch, &area, &dst);
  return true;
}

// Large turned pictures (the menu background) kept as turned copies. A copy
// is used again while its angle has not turned the canvas point farthest
// from the pivot by a whole pixel: the slow turn of the background is then
// sampled afresh every few frames, not every frame.
struct TurnedCacheEntry {
  std::size_t slot = 0;
  int generation = -1;
  Quad quad;  // everything but the angle must match
  float angle = 0;
  soft::TurnedCopy copy;
  std::uint64_t used = 0;
};
constexpr std::size_t kTurnedCacheSize = 2;
constexpr int kCachedTurnArea = 256 * 256;  // smaller quads are drawn directly
std::array<TurnedCacheEntry, kTurnedCacheSize> g_turned_cache;
std::uint64_t g_turned_cache_clock = 0;

// Small turned quads that repeat (the bomb column: thirty halos at one angle
// and opacity) are turned once and copied: a quad seen a second time with
// the same texture, source, size, angle, colour and the same fraction of a
// pixel in its position becomes a stamp, made with a margin round it so that
// it can be copied to any whole-pixel position.
struct TurnedStamp {
  std::size_t slot = 0;
  int generation = -1;
  Quad key;  // position reduced to its fractions of a pixel
  bool made = false;
  int margin = 0;
  soft::TurnedCopy copy;
  std::uint64_t used = 0;
};
constexpr std::size_t kStampCount = 8;
std::array<TurnedStamp, kStampCount> g_stamps;

void ForgetTurnedCopies(std::size_t slot) {
  for (auto& e : g_turned_cache) {
    if (e.slot == slot) e = TurnedCacheEntry{};
  }
  for (auto& e : g_stamps) {
    if (e.slot == slot) e = TurnedStamp{};
  }
}

bool SameQuad(const Quad& a, const Quad& b) {
  return a.src_x == b.src_x && a.src_y == b.src_y && a.src_w == b.src_w && a.src_h == b.src_h && a.x == b.x &&
         a.y == b.y && a.width == b.width && a.height == b.height && a.center_x == b.center_x &&
         a.center_y == b.center_y && a.argb == b.argb && a.angle_ccw == b.angle_ccw;
}

// A small turned quad drawn from a stamp; false when it has not repeated yet
// (the caller draws it directly).
bool DrawStamped(std::size_t slot, const soft::Picture& picture, const soft::TurnedQuad& t, const Quad& q) {
  const float ix = std::floor(q.x), iy = std::floor(q.y);
  Quad key = q;
  key.x = q.x - ix;
  key.y = q.y - iy;
  TurnedStamp* stamp = nullptr;
  for (auto& e : g_stamps) {
    if (e.slot == slot && e.generation == g.generation && SameQuad(e.key, key)) stamp = &e;
  }
  if (stamp == nullptr) {
    stamp = &*std::min_element(g_stamps.begin(), g_stamps.end(),
                               [](const auto& a, const auto& b) { return a.used < b.used; });
    *stamp = TurnedStamp{};
    stamp->slot = slot;
    stamp->generation = g.generation;
    stamp->key = key;
    stamp->used = ++g_turned_cache_clock;
    return false;
  }
  stamp->used = ++g_turned_cache_clock;
  if (!stamp->made) {
    // Room for the quad turned any way about its pivot.
    const double reach = std::hypot(std::max(std::fabs(t.center_x), std::fabs(t.width - t.center_x)),
                                    std::max(std::fabs(t.center_y), std::fabs(t.height - t.center_y)));
    stamp->margin = static_cast<int>(std::ceil(reach + std::fabs(t.center_x) + std::fabs(t.center_y))) + 2;
    const int side = 2 * stamp->margin + 2;
    soft::TurnedQuad at = t;
    at.x = static_cast<double>(key.x) + stamp->margin;
    at.y = static_cast<double>(key.y) + stamp->margin;
    if (!soft::RenderTurned(soft::Canvas{nullptr, side, side, side}, picture, at, stamp->copy)) {
      *stamp = TurnedStamp{};
      return false;
    }
    stamp->made = true;
  }
  soft::BlendCopy(OwnCanvas(), stamp->copy, static_cast<int>(ix) - stamp->margin,
                  static_cast<int>(iy) - stamp->margin);
  return true;
}

bool SameButAngle(const Quad& a, const Quad& b) {
  return a.src_x == b.src_x && a.src_y == b.src_y && a.src_w == b.src_w && a.src_h == b.src_h && a.x == b.x &&
         a.y == b.y && a.width == b.width && a.height == b.height && a.center_x == b.center_x &&
         a.center_y == b.center_y && a.argb == b.argb;
}

// The largest angle (degrees) by which the quad may turn before some canvas
// pixel's sample point moves a whole pixel.
double OnePixelTurn(const Quad& q) {
  const double px = static_cast<double>(q.x) + q.center_x, py = static_cast<double>(q.y) + q.center_y;
  const double w = g.config.canvas_width, h = g.config.canvas_height;
  const double r = std::sqrt(std::max(px * px, (w - px) * (w - px)) + std::max(py * py, (h - py) * (h - py)));
  return r > 0 ? 1.0 / r * 180.0 / 3.14159265358979323846 : 360.0;
}

// A large turned quad from the cache (made afresh when its angle has moved
// too far). False when it is not one to cache.
bool DrawCachedTurn(std::size_t slot, const soft::Picture& picture, const soft::TurnedQuad& t, const Quad& q) {
  if (static_cast<double>(q.width) * q.height < kCachedTurnArea) return false;
  TurnedCacheEntry* entry = nullptr;
  for (auto& e : g_turned_cache) {
    if (e.slot == slot && e.generation == g.generation && SameButAngle(e.quad, q) &&
        std::fabs(static_cast<double>(e.angle) - q.angle_ccw) < OnePixelTurn(q)) {
      entry = &e;
    }
  }
  const soft::Canvas canvas = OwnCanvas();
  if (entry == nullptr) {
    entry = &*std::min_element(g_turned_cache.begin(), g_turned_cache.end(),
                               [](const auto& a, const auto& b) { return a.used < b.used; });
    if (!soft::RenderTurned(canvas, picture, t, entry->copy)) {
      *entry = TurnedCacheEntry{};
      return false;
    }
    entry->slot = slot;
    entry->generation = g.generation;
    entry->quad = q;
    entry->angle = q.angle_ccw;
  }
  entry->used = ++g_turned_cache_clock;
  soft::BlendCopy(canvas, entry->copy);
  return true;
}

// Our own drawing into our own canvas: every turned quad, and unturned,
// unscaled copies with a colour or opacity below full (the renderer's
// modulated blend is a slow scalar path). False for what is left to the
// renderer.
bool DrawOwn(std::size_t slot, const Quad& q) {
  const std::vector<std::uint32_t>& texels = g.texels[slot];
  const int tw = g.texel_width[slot];
  if (texels.empty() || tw <= 0) return false;
  const soft::Picture picture{texels.data(), tw, static_cast<int>(texels.size()) / tw};
  if (q.angle_ccw != 0.0f) {
    const soft::TurnedQuad t{q.src_x, q.src_y, q.src_w, q.src_h, q.x, q.y, q.width, q.height,
                             q.angle_ccw, q.center_x, q.center_y, q.argb};
    if (DrawCachedTurn(slot, picture, t, q)) return true;
    constexpr float kFar = 1 << 20;
    if (std::fabs(q.x) < kFar && std::fabs(q.y) < kFar && DrawStamped(slot, picture, t, q)) return true;
    return soft::DrawTurned(OwnCanvas(), picture, t);
  }
  if (q.argb == 0xFFFFFFFFu) return false;
  // The renderer places a copy at the truncated position and size; only an
  // unscaled copy in range is ours.
  constexpr float kFar = 1 << 20;
  if (!(std::fabs(q.x) < kFar && std::fabs(q.y) < kFar)) return false;
  if (static_cast<int>(q.width) != q.src_w || static_cast<int>(q.height) != q.src_h) return false;
  if (q.src_w <= 0 || q.src_h <= 0 || q.src_x < 0 || q.src_y < 0 || q.src_x + q.src_w > picture.width ||
      q.src_y + q.src_h > picture.height) {
    return false;
  }
  soft::BlitModulated(OwnCanvas(), picture, q.src_x, q.src_y, q.src_w, q.src_h, static_cast<int>(q.x),
                      static_cast<int>(q.y), q.argb);
  return true;
}

}  // namespace

void SetSoftwareFastPaths(bool enabled) { g.fast_paths = enabled; }

void DrawQuad(TextureHandle texture, const Quad& q) {
  SDL_Texture* t = Lookup(texture);
  if (t == nullptr || !Active()) return;
  // Nothing the game shows lies anywhere near a million pixels from the
  // canvas. A quad that does (a creature flung out of the shaft by absurd
  // tuning, a NaN) is skipped before any float-to-int conversion, ours or
  // the renderer's, could go out of range.
  constexpr float kReach = 1048576.0f;
  const auto within = [](float v) { return std::fabs(v) <= kReach; };  // false for NaN
  if (!within(q.x) || !within(q.y) || !within(q.width) || !within(q.height) || !within(q.center_x) ||
      !within(q.center_y) || !std::isfinite(q.angle_ccw)) {
    return;
  }
  if (q.src_x == 0 && q.src_y == 0 && q.src_w == 1 && q.src_h == 1 && q.angle_ccw == 0.0f) {
    const SDL_FRect rect{std::min(q.x, q.x + q.width), std::min(q.y, q.y + q.height), std::fabs(q.width),
                         std::fabs(q.height)};
    FillFromTexel(g.first_texel[static_cast<std::size_t>(texture)], q.argb, rect);
    return;
  }
  if (FastPaths() && DrawOwn(static_cast<std::size_t>(texture), q)) return;
  if (q.angle_ccw != 0.0f && g.software && DrawTurned(static_cast<std::size_t>(texture), q)) return;
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
  // Our own canvas surface is copied into a texture for the stretch.
  SDL_Texture* source = g.canvas;
  if (g.canvas_surface != nullptr) {
    SDL_RenderFlush(g.renderer);
    source = SDL_CreateTextureFromSurface(g.renderer, g.canvas_surface);
    if (source == nullptr) {
      SDL_DestroyTexture(scaled);
      return false;
    }
    SDL_SetTextureScaleMode(source, SDL_ScaleModeNearest);
  }
  SDL_SetRenderTarget(g.renderer, scaled);
  SDL_SetTextureBlendMode(source, SDL_BLENDMODE_NONE);
  SDL_RenderCopy(g.renderer, source, nullptr, nullptr);
  pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  const bool ok = SDL_RenderReadPixels(g.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), width * 4) == 0;
  SDL_SetRenderTarget(g.renderer, g.canvas);
  SDL_DestroyTexture(scaled);
  if (source != g.canvas) SDL_DestroyTexture(source);
  return ok;
}

void WindowClientSize(int& width, int& height) {
  width = g.config.canvas_width;
  height = g.config.canvas_height;
  if (g.backend == VideoBackend::Window && Active()) {
    const SDL_Rect shown = PresentRect();
    width = shown.w;
    height = shown.h;
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
  return static_cast<bool>(WriteFileAtomic(path, out));
}

}  // namespace tw::platform
