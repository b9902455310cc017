#pragma once
#include <SDL.h>

// What the desktop's SDL 1.2 and the browser's differ in when a loaded picture
// becomes a surface the game blits: the browser's has no SDL_DisplayFormat,
// ignores colour keys and keeps no key in the pixel format.

// Turns a freshly loaded picture into one ready to blit onto the screen, with
// the colour (r, g, b) see-through. Takes loaded over (freeing it when it
// makes a new surface); returns null when it cannot.
SDL_Surface* ready_for_screen(SDL_Surface* loaded, Uint8 r, Uint8 g, Uint8 b);

// The value a see-through pixel of such a surface holds in its pixel data.
Uint32 see_through_pixel(const SDL_Surface* surface);
