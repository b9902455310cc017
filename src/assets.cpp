#include "assets.h"

#include <cstdio>

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

std::vector<std::string> missing_game_files() {
  std::vector<std::string> missing;
  for (const std::string& path : game_files()) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
      missing.push_back(path);
    } else {
      std::fclose(file);
    }
  }
  return missing;
}
