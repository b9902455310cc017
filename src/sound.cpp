#include "sound.h"

#include "paths.h"

Mix_Chunk* load_sound(const std::string& filename) {
  SDL_RWops* file = SDL_RWFromFile(native_path(filename).c_str(), "rb");
  if (file == nullptr) return nullptr;
  return Mix_LoadWAV_RW(file, 1);
}

void play_sound(Mix_Chunk* effect) { Mix_PlayChannel(-1, effect, 0); }
