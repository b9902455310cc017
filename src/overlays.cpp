#include "overlays.h"

#include "look.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "sound_levels.h"
#include "text.h"

namespace {

const int SIGN_PAD_X = 8;
const int SIGN_PAD_Y = 2;
// The muted sign sits in the bottom right corner (above the watcher's band
// when there is one): the top corners hold the mini-games' scores.
const int MUTED_MARGIN = 6;

FRAME_OVERLAY watch_overlay = nullptr;

// Text in the marks' face on a panel, with room around it; x is the text's
// right edge.
void draw_sign(SDL_Surface* frame, const char* text, int right, int y) {
  int w = 0, h = 0;
  text_size(face(FACE::MARK), text, &w, &h);
  if (w == 0) return;
  const int left = right - w;
  SDL_Rect panel = {static_cast<decltype(SDL_Rect::x)>(left - SIGN_PAD_X),
                    static_cast<decltype(SDL_Rect::y)>(y - SIGN_PAD_Y),
                    static_cast<decltype(SDL_Rect::w)>(w + 2 * SIGN_PAD_X),
                    static_cast<decltype(SDL_Rect::h)>(h + 2 * SIGN_PAD_Y)};
  draw_panel(frame, panel);
  draw_text(frame, face(FACE::MARK), text, GOLD, left, y);
}

}  // namespace

void show_frame(SDL_Surface* screen) {
  if (watch_overlay != nullptr) watch_overlay(screen);
  if (sound_muted()) {
    // fit: MARK 300
    // The sign that the sound is muted; "~" stands between it and the key that
    // turns it back on.
    const char* sign = tr("Sound off ~ M");
    int w = 0, h = 0;
    text_size(face(FACE::MARK), sign, &w, &h);
    const int bottom = screen->h - (watch_overlay != nullptr ? WATCH_BAND_HEIGHT : 0);
    draw_sign(screen, sign, screen->w - MUTED_MARGIN - SIGN_PAD_X,
              bottom - MUTED_MARGIN - SIGN_PAD_Y - h);
  }
  SDL_Flip(screen);
}

void set_watch_overlay(FRAME_OVERLAY overlay) { watch_overlay = overlay; }
