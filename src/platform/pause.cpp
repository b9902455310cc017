#include "platform/pause.h"

#include <SDL_mixer.h>

#include "text.h"

namespace {

const Uint8 SHADE_ALPHA = 112;  // of black over the kept frame
const int PANEL_MARGIN = 24;
const SDL_Color PANEL_COLOUR = {45, 22, 4, 0};

TTF_Font* paused_font = nullptr;
SDL_Color paused_colour = {};
int guards = 0;
Uint32 paused_total = 0;

}  // namespace

PAUSABLE::PAUSABLE(TTF_Font* font, SDL_Color colour) {
  paused_font = font;
  paused_colour = colour;
  ++guards;
}

PAUSABLE::~PAUSABLE() { --guards; }

bool pausable() { return guards > 0; }

PAUSED_SCREEN::PAUSED_SCREEN()
    : screen(SDL_GetVideoSurface()), kept(nullptr), since(SDL_GetTicks()) {
  Mix_PauseMusic();
  Mix_Pause(-1);
  if (screen == nullptr) return;
  kept = SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE);
  draw_paused(screen, paused_font, paused_colour);
  show_again();
}

PAUSED_SCREEN::~PAUSED_SCREEN() {
  if (kept != nullptr) SDL_BlitSurface(kept, nullptr, screen, nullptr);
  SDL_FreeSurface(kept);
  Mix_Resume(-1);
  Mix_ResumeMusic();
  paused_total += SDL_GetTicks() - since;
}

void PAUSED_SCREEN::show_again() {
  if (screen != nullptr) SDL_Flip(screen);
}

void draw_paused(SDL_Surface* frame, TTF_Font* font, SDL_Color colour) {
  SDL_Surface* shade = SDL_CreateRGBSurface(SDL_SWSURFACE, frame->w, frame->h, 32, 0, 0, 0, 0);
  if (shade != nullptr) {
    SDL_SetAlpha(shade, SDL_SRCALPHA, SHADE_ALPHA);
    SDL_BlitSurface(shade, nullptr, frame, nullptr);
    SDL_FreeSurface(shade);
  }
  int w = 0, h = 0;
  text_size(font, "Paused", &w, &h);
  SDL_Rect panel = {static_cast<Sint16>((frame->w - w) / 2 - PANEL_MARGIN),
                    static_cast<Sint16>((frame->h - h) / 2 - PANEL_MARGIN / 2),
                    static_cast<Uint16>(w + 2 * PANEL_MARGIN),
                    static_cast<Uint16>(h + PANEL_MARGIN)};
  SDL_FillRect(frame, &panel,
               SDL_MapRGB(frame->format, PANEL_COLOUR.r, PANEL_COLOUR.g, PANEL_COLOUR.b));
  draw_text_middle(frame, font, "Paused", colour);
}

Uint32 paused_ms() { return paused_total; }
