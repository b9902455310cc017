// The page's side of page.h: the page's scripts hand their state over through
// Module.pageInput and hear the game through Module.onPage(what, ...).
#include "platform/page.h"

#include <emscripten.h>

namespace {

// A standard-layout pad's buttons (the browser's numbering) as SDL numbers
// the same pad on the desktop, so that a button chosen on either is the
// same button: A, B, X, Y, the shoulders, Back, Start, the stick presses,
// the guide button. The triggers are axes there; the d-pad (12 to 15) its hat.
const int STANDARD_BUTTONS[] = {0, 1, 2, 3, 4, 5, -1, -1, 6, 7, 9, 10, -1, -1, -1, -1, 8};
const Uint8 STANDARD_HAT[] = {SDL_HAT_UP, SDL_HAT_DOWN, SDL_HAT_LEFT, SDL_HAT_RIGHT};
constexpr int D_PAD = 12;

// The page's fields, in the order it writes them.
enum { MOVES_ONE, MOVES_TWO, MENU, FIRST_PAD };
enum { PAD_STANDARD, PAD_BUTTONS, PAD_X, PAD_Y, PAD_FIELDS };
constexpr int FIELDS = FIRST_PAD + PAGE_PADS * PAD_FIELDS;

Sint16 axis(int value) {
  return static_cast<Sint16>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}

PAGE_PAD pad_from(const int* field) {
  PAGE_PAD pad;
  const Uint32 buttons = static_cast<Uint32>(field[PAD_BUTTONS]);
  if (field[PAD_STANDARD] == 0) {
    pad.buttons = buttons;
  } else {
    for (int button = 0; button < 32; ++button) {
      if ((buttons >> button & 1u) == 0) continue;
      if (button >= D_PAD && button < D_PAD + 4) {
        pad.hat = static_cast<Uint8>(pad.hat | STANDARD_HAT[button - D_PAD]);
      } else if (button < static_cast<int>(sizeof STANDARD_BUTTONS / sizeof(int)) &&
                 STANDARD_BUTTONS[button] >= 0) {
        pad.buttons |= 1u << STANDARD_BUTTONS[button];
      }
    }
  }
  pad.axes[0] = axis(field[PAD_X]);
  pad.axes[1] = axis(field[PAD_Y]);
  return pad;
}

// clang-format off
EM_JS(void, read_page_fields, (int* fields, int count), {
  const read = Module['pageInput'];
  const values = read ? read() : [];
  for (let i = 0; i < count; ++i) HEAP32[(fields >> 2) + i] = values[i] | 0;
});

EM_JS(int, toggle_page_full_screen, (), {
  if (!Module['toggleFullScreen']) return 0;
  Module['toggleFullScreen']();
  return 1;
});

EM_JS(void, tell_page, (const char* what, const char* first, const char* second), {
  if (Module['onPage']) {
    Module['onPage'](UTF8ToString(what), UTF8ToString(first), UTF8ToString(second));
  }
});
// clang-format on

}  // namespace

PAGE_INPUT page_input() {
  int fields[FIELDS] = {};
  read_page_fields(fields, FIELDS);
  PAGE_INPUT input;
  input.moves[0] = static_cast<unsigned>(fields[MOVES_ONE]);
  input.moves[1] = static_cast<unsigned>(fields[MOVES_TWO]);
  input.menu = static_cast<unsigned>(fields[MENU]);
  for (int pad = 0; pad < PAGE_PADS; ++pad) {
    input.pads[pad] = pad_from(fields + FIRST_PAD + pad * PAD_FIELDS);
  }
  return input;
}

// The emulation's own full screen would resize the canvas and ask for the
// pointer; the page's keeps the picture scaled.
bool page_full_screen() { return toggle_page_full_screen() != 0; }

bool page_listens() { return true; }

void page_players(bool two) {
  // The mode screen says it every frame; the page hears of a change.
  static int said = -1;
  if (said == static_cast<int>(two)) return;
  said = two;
  tell_page("players", two ? "2" : "1", "");
}

void page_replays(const std::string& last, const std::string& best) {
  tell_page("replays", last.c_str(), best.c_str());
}

void page_replay_refused(const std::string& why) { tell_page("refused", why.c_str(), ""); }

void page_text(const char* name, const std::string& text) { tell_page("text", name, text.c_str()); }
