#pragma once
#include <SDL_mixer.h>

#include <string>

// Loads a sound effect; null when the file or the audio device is missing,
// and a null effect simply plays nothing.
Mix_Chunk* load_sound(const std::string& filename);

// Plays an effect once on the first free channel.
void play_sound(Mix_Chunk* effect);
