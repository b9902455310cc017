#pragma once
#include <string>

// Whether a sound file of the game decodes, loaded as the game loads it
// (music is true for the three music loops). On the desktop: SDL's WAV
// reader and, once the audio device is open, the mixer's loader. The
// browser's mixer decodes later, on its own, so there the file must be what
// the page packs: Ogg Vorbis.
bool sound_decodes(const std::string& path, bool music);
