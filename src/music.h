#pragma once
#include <SDL_mixer.h>

#include <string>

// Stops and frees the music now playing and loops the file for ever.
// Without an audio device the game simply stays silent.
void switch_music(Mix_Music*& music, const std::string& file);
