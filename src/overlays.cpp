#include "overlays.h"

#include "platform/events.h"
#include "text.h"

const SDL_Color SIGN_PANEL = {45, 22, 4, 0};
const SDL_Color SIGN_TEXT = {200, 150, 0, 0};

namespace {

const int SIGN_SIZE = 20;
const int SIGN_PAD_X = 8;
const int SIGN_PAD_Y = 2;
// The muted sign sits in the bottom right corner (above the watcher's band
// when there is one): the top corners hold the mini-games' scores.
const int MUTED_MARGIN = 6;

TTF_Font* font = nullptr;
FRAME_OVERLAY watch_overlay = nullptr;

}  // namespace

TTF_Font* sign_font() {
  if (font == nullptr) font = TTF_OpenFont("text.ttf", SIGN_SIZE);
  return font;
}

void draw_sign(SDL_Surface* frame, const char* text, int x, int y, bool right) {
  int w = 0, h = 0;
  text_size(sign_font(), text, &w, &h);
  if (w == 0) return;
  const int left = right ? x - w : x;
  SDL_Rect panel = {static_cast<decltype(SDL_Rect::x)>(left - SIGN_PAD_X),
                    static_cast<decltype(SDL_Rect::y)>(y - SIGN_PAD_Y),
                    static_cast<decltype(SDL_Rect::w)>(w + 2 * SIGN_PAD_X),
                    static_cast<decltype(SDL_Rect::h)>(h + 2 * SIGN_PAD_Y)};
  SDL_FillRect(frame, &panel, SDL_MapRGB(frame->format, SIGN_PANEL.r, SIGN_PANEL.g, SIGN_PANEL.b));
  draw_text(frame, sign_font(), text, SIGN_TEXT, left, y);
}

void show_frame(SDL_Surface* screen) {
  if (watch_overlay != nullptr) watch_overlay(screen);
  if (sound_muted()) {
    const char* sign = "Sound off ~ M";
    int w = 0, h = 0;
    text_size(sign_font(), sign, &w, &h);
    const int bottom = screen->h - (watch_overlay != nullptr ? WATCH_BAND_HEIGHT : 0);
    draw_sign(screen, sign, screen->w - MUTED_MARGIN - SIGN_PAD_X,
              bottom - MUTED_MARGIN - SIGN_PAD_Y - h, true);
  }
  SDL_Flip(screen);
}

void set_watch_overlay(FRAME_OVERLAY overlay) { watch_overlay = overlay; }

void close_overlays() {
  if (font != nullptr) TTF_CloseFont(font);
  font = nullptr;
}
