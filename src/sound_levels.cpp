#include "sound_levels.h"

#include <SDL_mixer.h>

namespace {

bool muted = false;
int music_volume = MIX_MAX_VOLUME;
int effect_volume = MIX_MAX_VOLUME;

}  // namespace

bool sound_muted() { return muted; }

void set_sound_levels(int music, int effects) {
  music_volume = music;
  effect_volume = effects;
  if (muted) return;
  Mix_VolumeMusic(music_volume);
  Mix_Volume(-1, effect_volume);
}

void toggle_mute() {
  if (!muted) {
    Mix_VolumeMusic(0);
    Mix_Volume(-1, 0);
  } else {
    Mix_VolumeMusic(music_volume);
    Mix_Volume(-1, effect_volume);
  }
  muted = !muted;
}
