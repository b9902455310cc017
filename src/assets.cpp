#include "assets.h"

#include <SDL_image.h>
#include <SDL_ttf.h>

#include "platform/catalog.h"
#include "platform/regular_file.h"
#include "platform/signals.h"
#include "platform/sound_check.h"

const std::vector<std::string>& game_files() {
  static const std::vector<std::string> files = {
      "title.ttf",
      "text.ttf",
      "sprites/pirate_ssheet.png",
      "sprites/pirate2_ssheet.png",
      "sprites/ball.bmp",
      "sprites/treasure_sheet.png",
      "sprites/r_sheet.png",
      "sprites/ghost_sheet.png",
      "sprites/chest_sheet.png",
      "sprites/heart_sheet.png",
      "sprites/bg.jpg",
      "sprites/main_pic.png",
      "VX_pics/vx_logo.gif",
      "VX_pics/comp_logo.png",
      "minigames/map_sheet.png",
      "minigames/fight_sheet.png",
      "minigames/bg.png",
      "minigames/ground.png",
      "minigames/trap.png",
      "minigames/cave.png",
      "minigames/t_box.png",
      "minigames/shore.png",
      "minigames/ship.png",
      "minigames/water.png",
      "minigames/pirates.png",
      "sfx/cannon.wav",
      "sfx/coin.wav",
      "sfx/dig.wav",
      "sfx/ghost.wav",
      "sfx/jump.wav",
      "sfx/mini_enter.wav",
      "sfx/ruby.wav",
      "sfx/treasure.wav",
      "sfx/sword1.wav",
      "sfx/open.wav",
      "sfx/game.wav",
      "sfx/end.wav",
  };
  return files;
}

namespace {

bool ends_with(const std::string& text, const char* end) {
  const std::string tail(end);
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool is_music(const std::string& path) {
  return path == "sfx/open.wav" || path == "sfx/game.wav" || path == "sfx/end.wav";
}

// Loads the file as the game will, and frees it again.
bool decodes(const std::string& path) {
  if (ends_with(path, ".ttf")) {
    TTF_Font* font = TTF_OpenFont(path.c_str(), 36);
    if (font != nullptr) TTF_CloseFont(font);
    return font != nullptr;
  }
  if (ends_with(path, ".wav")) return sound_decodes(path, is_music(path));
  SDL_Surface* image = IMG_Load(path.c_str());
  SDL_FreeSurface(image);
  return image != nullptr;
}

}  // namespace

std::vector<BAD_FILE> bad_game_files() {
  std::vector<BAD_FILE> bad;
  for (const std::string& path : game_files()) {
    if (stop_requested()) break;
    switch (regular_file_kind(path.c_str())) {
      case FILE_KIND::MISSING:
        bad.push_back({N_("missing"), path});
        break;
      case FILE_KIND::UNREADABLE:
        bad.push_back({N_("unreadable"), path});
        break;
      case FILE_KIND::NOT_REGULAR:
        bad.push_back({N_("not a regular file"), path});
        break;
      case FILE_KIND::REGULAR:
        if (!decodes(path)) bad.push_back({N_("corrupt"), path});
        break;
    }
  }
  return bad;
}
