#include "notice.h"

#include "globals.h"
#include "look.h"
#include "overlays.h"
#include "platform/events.h"
#include "platform/signals.h"
#include "text.h"

namespace {

const int LINE_Y = 310;
const int BELOW_GAP = 8;
const int ROOM = 620;

}  // namespace

void hold_notice(const std::string& line, const std::string& below, Uint32 most_ms) {
  TTF_Font* mark = face(FACE::MARK);
  draw_text(screen, mark, line, BROWN, 0, LINE_Y, ALIGN::CENTRE);
  if (!below.empty()) {
    int w = 0, h = 0;
    text_size(mark, line, &w, &h);
    draw_text_in_room(screen, mark, below, BROWN, LINE_Y + h + BELOW_GAP, ROOM);
  }
  show_frame(screen);
  SDL_Event e;
  for (Uint32 waited = 0; waited < most_ms && !stop_requested(); waited += WAIT_STEP_MS) {
    bool closed = false;
    while (poll_event(&e) != 0) {
      closed = closed || e.type == SDL_KEYDOWN || e.type == SDL_JOYBUTTONDOWN || e.type == SDL_QUIT;
    }
    if (closed) return;
    wait_ms(WAIT_STEP_MS);
  }
}
