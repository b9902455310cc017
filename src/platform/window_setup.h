#pragma once
#include <SDL.h>

// Full screen unless the player asked for a window (--windowed).
void choose_windowed(bool windowed);

// The flags for SDL_SetVideoMode: SDL_FULLSCREEN, or none for a window.
Uint32 video_mode_flags();

// Gives the window the game's icon ("icon.png" beside the game's files). Call
// after SDL_Init and before SDL_SetVideoMode. Without the file the window
// keeps the desktop's default icon and the game starts all the same; an
// icon.png that is not a regular file (a pipe, say) is never opened, and
// said so on stderr.
void set_window_icon();
