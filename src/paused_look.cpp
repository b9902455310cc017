#include "paused_look.h"

#include "look.h"
#include "platform/catalog.h"
#include "text.h"

namespace {

const Uint8 SHADE_ALPHA = 112;  // of black over the kept frame
const int PANEL_MARGIN = 24;

}  // namespace

SDL_Rect paused_panel(int frame_w, int frame_h, TTF_Font* font) {
  int w = 0, h = 0;
  text_size(font, tr("Paused"), &w, &h);
  return SDL_Rect{static_cast<Sint16>((frame_w - w) / 2 - PANEL_MARGIN),
                  static_cast<Sint16>((frame_h - h) / 2 - PANEL_MARGIN / 2),
                  static_cast<Uint16>(w + 2 * PANEL_MARGIN), static_cast<Uint16>(h + PANEL_MARGIN)};
}

void draw_paused(SDL_Surface* frame, TTF_Font* font, SDL_Color colour) {
  SDL_Surface* shade = SDL_CreateRGBSurface(SDL_SWSURFACE, frame->w, frame->h, 32, 0, 0, 0, 0);
  if (shade != nullptr) {
    SDL_SetAlpha(shade, SDL_SRCALPHA, SHADE_ALPHA);
    SDL_BlitSurface(shade, nullptr, frame, nullptr);
    SDL_FreeSurface(shade);
  }
  draw_panel(frame, paused_panel(frame->w, frame->h, font));
  // fit: TEXT 560
  // Over a paused game, on a dark panel.
  draw_text_middle(frame, font, tr("Paused"), colour);
}
