#include "platform/sound_check.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

bool decodes_as_wav(const std::string& path) {
  SDL_AudioSpec format;
  Uint8* samples = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV(path.c_str(), &format, &samples, &length) == nullptr) return false;
  SDL_FreeWAV(samples);
  return true;
}

}  // namespace

bool sound_decodes(const std::string& path, bool music) {
  // SDL's reader first: the mixer's music loader never returns from a WAV
  // file that ends before its samples begin.
  if (!decodes_as_wav(path)) return false;
  if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) return true;  // a silent game loads none
  if (music) {
    Mix_Music* loaded = Mix_LoadMUS(path.c_str());
    Mix_FreeMusic(loaded);
    return loaded != nullptr;
  }
  // The effects' loader, as the game calls it.
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  Mix_Chunk* chunk = file != nullptr ? Mix_LoadWAV_RW(file, 1) : nullptr;
  Mix_FreeChunk(chunk);
  return chunk != nullptr;
}
