#include "music.h"

#include "paths.h"

void switch_music(Mix_Music*& music, const std::string& file) {
  Mix_HaltMusic();
  Mix_FreeMusic(music);
  music = Mix_LoadMUS(native_path(file).c_str());
  Mix_PlayMusic(music, -1);
}
