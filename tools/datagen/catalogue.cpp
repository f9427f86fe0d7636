#include "catalogue.hpp"

#include <algorithm>
#include <cstdio>

#include "art.hpp"
#include "audio.hpp"
#include "fontsheet.hpp"
#include "text.hpp"

namespace datagen {

namespace {

// The filter is a comma-separated list of path fragments; empty takes all.
bool matches(const std::string& path, const std::string& filter) {
  if (filter.empty()) return true;
  std::size_t pos = 0;
  while (pos <= filter.size()) {
    const std::size_t end = std::min(filter.find(',', pos), filter.size());
    const std::string part = filter.substr(pos, end - pos);
    if (!part.empty() && path.find(part) != std::string::npos) return true;
    pos = end + 1;
  }
  return false;
}

void add(std::vector<PictureJob>& jobs, std::string path, PicFormat f, std::function<Image()> make) {
  jobs.push_back({std::move(path), f, std::move(make)});
}

}  // namespace

std::vector<PictureJob> pictureJobs() {
  using P = PicFormat;
  std::vector<PictureJob> j;
  add(j, "fonts/blue.bmp", P::BmpKeyed, [] { return fontSheet(SheetStyle::Blue); });
  add(j, "fonts/default_num.bmp", P::BmpKeyed, [] { return fontSheet(SheetStyle::Labels); });
  add(j, "textures/menu/logo.jpg", P::Jpg, loadingScreen);
  add(j, "textures/menu/logo_loading.dds", P::Dds, loadingLabel);

  const std::string lt = "textures/level_tiles/";
  add(j, lt + "tile_ground_glass.bmp", P::BmpKeyed, [] { return tileGlass(false); });
  add(j, lt + "tile_ground_glass_bw.bmp", P::BmpKeyed, [] { return tileGlass(true); });
  add(j, lt + "tile_ground_stone.dds", P::Dds, tileStone);
  int seed = 1;
  for (const auto& c : tileColors()) {
    const std::string stem = lt + "tile_ground_" + c.name;
    const Color base = c.base;
    const int s = seed++;
    add(j, stem + ".dds", P::Dds, [base, s] { return tileGround(base, Material::Plain, s); });
    add(j, stem + "_mud.dds", P::Dds, [base, s] { return tileGround(base, Material::Mud, s); });
    add(j, stem + "_gum.dds", P::Dds, [base, s] { return tileGround(base, Material::Gum, s); });
    add(j, stem + "_ice.dds", P::Dds, [base, s] { return tileGround(base, Material::Ice, s); });
  }

  add(j, "textures/level_text.dds", P::Dds, levelText);
  for (int n = 0; n <= 11; ++n)
    add(j, "textures/level_num_" + std::to_string(n) + ".dds", P::Dds, [n] { return levelNumber(n); });
  add(j, "textures/paused.dds", P::Dds, pausedPicture);

  add(j, "textures/tile_wall_bricks.bmp", P::Bmp, wallBricks);
  add(j, "textures/tile_wall_wood.bmp", P::Bmp, [] { return wallWood(false); });
  add(j, "textures/tile_wall_wood_bw.bmp", P::Bmp, [] { return wallWood(true); });
  add(j, "textures/tile_wall_bricks2.bmp", P::Bmp, [] { return wallBricks2(false); });
  add(j, "textures/tile_wall_bricks2_bw.bmp", P::Bmp, [] { return wallBricks2(true); });
  add(j, "textures/tile_wall_metal.dds", P::Dds, wallMetal);

  add(j, "textures/bonus/bonus_selection.dds", P::Dds, bonusSelection);
  add(j, "textures/bonus/bomb.dds", P::Dds, bonusBomb);
  add(j, "textures/bonus/pie.bmp", P::BmpKeyed, bonusPie);
  add(j, "textures/bonus/boot.dds", P::Dds, bonusBoot);
  add(j, "textures/bonus/bombglass.dds", P::Dds, bonusGlassBomb);
  add(j, "textures/bonus/bigears.dds", P::Dds, bonusEars);

  add(j, "textures/sidebar.dds", P::Dds, [] { return sidebar(false); });
  add(j, "textures/sidebar_h.dds", P::Dds, [] { return sidebar(true); });
  add(j, "textures/debug_window.bmp", P::Bmp, debugWindow);
  add(j, "textures/bolo_blue.dds", P::Dds, boloBody);
  add(j, "textures/bolo_eyes.dds", P::Dds, boloEyes);

  add(j, "textures/background_sky.bmp", P::Bmp, [] { return background(rgb(132, 204, 255)); });
  add(j, "textures/background_lightblue.bmp", P::Bmp, [] { return background(rgb(176, 224, 255)); });
  add(j, "textures/background_black.bmp", P::Bmp, [] { return background(rgb(0, 0, 0)); });
  add(j, "textures/background_red.bmp", P::Bmp, [] { return background(rgb(214, 36, 40)); });

  add(j, "textures/sharp.bmp", P::BmpKeyed, drill);
  add(j, "textures/clouds.bmp", P::BmpKeyed, clouds);
  add(j, "textures/tile_wall_ground.bmp", P::Bmp, wallGround);
  add(j, "textures/bonus/explosion.dds", P::Dds, explosion);
  add(j, "textures/bonus/text_boom.bmp", P::BmpKeyed, textBoom);
  add(j, "textures/arrow.dds", P::Dds, arrow);
  add(j, "wd_wow.jpg", P::Jpg, wonArcade);
  add(j, "textures/particles.png", P::Png, particles);
  add(j, "textures/weighticon.dds", P::Dds, weightIcon);

  const std::string m = "textures/menu/";
  add(j, m + "load1.jpg", P::Jpg, menuBackground);
  add(j, m + "title.dds", P::Dds, titlePicture);
  for (int k = 1; k <= 5; ++k) add(j, m + "butterfly" + std::to_string(k) + ".dds", P::Dds, [k] { return butterfly(k - 1); });
  add(j, m + "story.dds", P::Dds, [] { return storyPage(1); });
  add(j, m + "story2.dds", P::Dds, [] { return storyPage(2); });

  const std::pair<const char*, const char*> buttons[] = {
      {"b_newgame", "NEW GAME"}, {"b_highscores", "HIGH SCORES"}, {"b_story", "STORY"}, {"b_options", "OPTIONS"},
      {"b_howtoplay", "HOW TO PLAY"}, {"b_credits", "CREDITS"}, {"b_exit", "EXIT"}, {"b_back", "BACK"}, {"b_next", "NEXT"}};
  for (const auto& [file, words] : buttons) {
    const std::string w = words;
    const bool nav = std::string(file) == "b_back" || std::string(file) == "b_next";
    add(j, m + file + ".dds", P::Dds, [w, nav] { return menuButton(w, nav); });
  }

  const std::string cr = m + "credits/";
  struct Credit {
    const char* file;
    const char* words;
    bool heading;
  };
  const Credit credits[] = {{"c_contributor11", "AND YOU, FOR PLAYING!", false},
                            {"c_copyright", "\xC2\xA9 THE TUMBLEWELL PROJECT", false},
                            {"c_contributor01", "DEJAVU FONTS", false},
                            {"c_contributor10", "ART DRAWN IN CODE", false},
                            {"c_contributor03", "LEAGUE SPARTAN TYPEFACE", false},
                            {"c_contributor02", "DEBIAN", false},
                            {"c_contributor04", "THE TUMBLEWELL TEAM", false},
                            {"c_tumblewell", "A TUMBLEWELL PROJECT GAME", true},
                            {"c_contributor05", "THE SDL PROJECT", false},
                            {"c_graphics", "GRAPHICS", true},
                            {"c_contributor06", "SOUNDS SYNTHESIZED IN C++", false},
                            {"c_contributor07", "GOOGLETEST", false},
                            {"c_contributor08", "SDL_MIXER", false},
                            {"c_contributor09", "THE FREETYPE PROJECT", false},
                            {"c_programming", "PROGRAMMING", true},
                            {"c_soundandmusic", "SOUND AND MUSIC", true},
                            {"c_thanksto", "THANKS TO", true}};
  for (const auto& c : credits) {
    const std::string w = c.words;
    const bool h = c.heading;
    add(j, cr + c.file + ".dds", P::Dds, [w, h] { return creditCaption(w, h); });
  }
  add(j, cr + "logo_kelvo.dds", P::Dds, makersLogo);

  add(j, m + "howtoplay.dds", P::Dds, howToPlayPage);
  add(j, m + "s_title.dds", P::Dds, [] { return bannerCaption("NEW HIGH SCORE!", rgb(255, 252, 196), rgb(255, 164, 28)); });
  add(j, m + "s_yournameplease.dds", P::Dds,
      [] { return bannerCaption("TYPE YOUR NAME", rgb(255, 255, 255), rgb(170, 220, 255)); });

  const std::string op = m + "options/";
  const std::pair<const char*, const char*> labels[] = {
      {"gamemode", "GAME MODE"}, {"fullscreen", "FULL SCREEN"}, {"details", "DETAILS"}, {"sound", "SOUND"}};
  for (const auto& [file, words] : labels) {
    const std::string w = words;
    add(j, op + "o_" + file + ".dds", P::Dds, [w] { return optionPicture(w, OptionLook::Label); });
  }
  for (const auto& [file, words] : labels) {
    const std::string w = words;
    add(j, op + "o_s_" + file + ".dds", P::Dds, [w] { return optionPicture(w, OptionLook::LabelSelected); });
  }
  const std::pair<const char*, const char*> values[] = {{"on", "ON"},     {"off", "OFF"},       {"high", "HIGH"},
                                                        {"low", "LOW"},   {"arcade", "ARCADE"}, {"story", "STORY"}};
  for (const auto& [file, words] : values) {
    const std::string w = words;
    add(j, op + "o_s_" + file + ".dds", P::Dds, [w] { return optionPicture(w, OptionLook::Value); });
    add(j, op + "o_ss_" + file + ".dds", P::Dds, [w] { return optionPicture(w, OptionLook::ValueCurrent); });
  }
  add(j, op + "unlock.dds", P::Dds, unlockNote);
  add(j, op + "restart.dds", P::Dds, restartNote);

  add(j, "wd.jpg", P::Jpg, wonStory);
  return j;
}

std::vector<std::string> allOutputs() {
  std::vector<std::string> out;
  for (const auto& p : pictureJobs()) out.push_back(p.path);
  for (const auto& s : soundFiles()) out.push_back("sfx/" + s);
  out.push_back("music/music_menu.wma");
  out.push_back("music/music_game.wma");
  out.push_back("font.ini");
  return out;
}

int generate(const std::string& dir, const std::string& filter, bool verbose) {
  const auto wanted = [&](const std::string& p) { return matches(p, filter); };
  const std::string root = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  int failures = 0;
  auto report = [&](const std::string& p, bool ok) {
    if (!ok) {
      std::fprintf(stderr, "datagen: could not write %s%s\n", root.c_str(), p.c_str());
      ++failures;
    } else if (verbose) {
      std::printf("  %s\n", p.c_str());
    }
  };
  for (const auto& job : pictureJobs())
    if (wanted(job.path)) report(job.path, writePicture(root + job.path, job.make(), job.format));
  for (const auto& s : soundFiles()) {
    const std::string p = "sfx/" + s;
    if (wanted(p)) report(p, writeFile(root + p, encodeWav16(makeSound(s))));
  }
  // The music player decides the format by the content, not by the name. The
  // tracks are Ogg Vorbis (a tenth of the wave's size, which the browser build
  // downloads); quality 0.4, about 128 kbit/s, is past where these synthesized
  // loops sound any different.
  constexpr float kMusicQuality = 0.4f;
  if (wanted("music/music_menu.wma"))
    report("music/music_menu.wma", writeFile(root + "music/music_menu.wma", encodeOggVorbis(menuMusic(), kMusicQuality)));
  if (wanted("music/music_game.wma"))
    report("music/music_game.wma", writeFile(root + "music/music_game.wma", encodeOggVorbis(gameMusic(), kMusicQuality)));
  if (wanted("font.ini")) {
    const std::string ini = fontIni();
    report("font.ini", writeFile(root + "font.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())));
  }
  return failures;
}

namespace {

// What the game will see: keyed pictures with their magenta made transparent.
Image asLoaded(const Image& img, PicFormat f) {
  if (f != PicFormat::BmpKeyed) return img;
  const auto rgb8 = flattenKeyed(img);
  Image out(img.w, img.h);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const std::uint8_t* p = &rgb8[static_cast<std::size_t>(y * img.w + x) * 3];
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) continue;
      out.blend(x, y, rgb(p[0], p[1], p[2]), 1);
    }
  return out;
}

}  // namespace

bool writeContactSheet(const std::string& png, const std::string& filter, bool fullSize) {
  struct Cell {
    std::string name;
    Image pic;
  };
  std::vector<Cell> cells;
  for (const auto& job : pictureJobs()) {
    if (!matches(job.path, filter)) continue;
    Image pic = asLoaded(job.make(), job.format);
    // Small pictures doubled, big ones halved, so everything can be judged.
    const int longest = std::max(pic.w, pic.h);
    const float s = longest <= 64 ? 2.0f : (longest > 300 && !fullSize ? 0.5f : 1.0f);
    if (s != 1.0f) pic = scaled(pic, static_cast<int>(static_cast<float>(pic.w) * s), static_cast<int>(static_cast<float>(pic.h) * s));
    cells.push_back({job.path.substr(job.path.rfind('/') + 1), std::move(pic)});
  }
  if (matches("bolo (as drawn)", filter)) {
    // The creature put together the way the game-screen renderer does it.
    const Image body = boloBody(), eyes = boloEyes();
    Image as(32, 32);
    blit(as, body, 0, 0);
    Image whites(14, 16), pupils(12, 7);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 14; ++x)
        for (int c = 0; c < 4; ++c) whites.at(x, y)[c] = eyes.at(x, y)[c];
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 12; ++x)
        for (int c = 0; c < 4; ++c) pupils.at(x, y)[c] = eyes.at(1 + x, 19 + y)[c];
    blit(as, whites, 9, 6);
    blit(as, pupils, 10, 11);
    cells.push_back({"bolo (as drawn)", scaled(as, 64, 64)});
  }
  const int sheetW = 1400, gap = 10, label = 14;
  int x = gap, y = gap, rowH = 0;
  std::vector<std::pair<int, int>> at;
  for (const auto& c : cells) {
    const int cw = std::max(c.pic.w, textWidth(Face::Sans, 10, c.name) + 4);
    if (x + cw + gap > sheetW) {
      x = gap;
      y += rowH + label + gap;
      rowH = 0;
    }
    at.emplace_back(x, y);
    x += cw + gap;
    rowH = std::max(rowH, c.pic.h);
  }
  const int sheetH = y + rowH + label + gap;
  Image sheet(sheetW, sheetH);
  sheet.clear(rgb(236, 238, 244));
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const auto& c = cells[i];
    const auto [cx, cy] = at[i];
    // A checkerboard behind each picture shows its transparency.
    for (int yy = 0; yy < c.pic.h; ++yy)
      for (int xx = 0; xx < c.pic.w; ++xx)
        sheet.blend(cx + xx, cy + yy, ((xx / 8 + yy / 8) % 2) ? rgb(150, 150, 160) : rgb(205, 205, 215), 1);
    blit(sheet, c.pic, static_cast<float>(cx), static_cast<float>(cy));
    drawTextAt(sheet, Face::Sans, 10, c.name, static_cast<float>(cx), static_cast<float>(cy + c.pic.h + 1), rgb(20, 20, 40));
  }
  return writePicture(png, sheet, PicFormat::Png);
}

}  // namespace datagen
