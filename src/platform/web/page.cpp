// The page's side of page.h: the page's scripts hand their state over through
// Module.pageInput and hear the game through Module.onPage(what, ...).
#include "platform/page.h"

#include <emscripten.h>

#include <string>

namespace {

// A standard-layout pad's buttons (the browser's numbering) as SDL numbers
// the same pad on the desktop, so that a button chosen on either is the
// same button: A, B, X, Y, the shoulders, Back, Start, the stick presses,
// the guide button. The triggers are axes there; the d-pad (12 to 15) its hat.
const int STANDARD_BUTTONS[] = {0, 1, 2, 3, 4, 5, -1, -1, 6, 7, 9, 10, -1, -1, -1, -1, 8};
const Uint8 STANDARD_HAT[] = {SDL_HAT_UP, SDL_HAT_DOWN, SDL_HAT_LEFT, SDL_HAT_RIGHT};
constexpr int D_PAD = 12;

// The fields read from the page, in the order read_page_fields writes them:
// each player's moves, the menu, then each pad's fields.
constexpr int MENU = PAGE_PLAYERS;
constexpr int FIRST_PAD = MENU + 1;
constexpr int FIELDS = FIRST_PAD + PAGE_PADS * PAD_FIELDS;

template <size_t N>
std::string json_names(const char* const (&names)[N]) {
  std::string list = "[";
  for (size_t i = 0; i < N; ++i) list += std::string(i == 0 ? "\"" : ",\"") + names[i] + "\"";
  return list + "]";
}

// The door, as the page's scripts read it.
const std::string& door() {
  static const std::string text = "{\"players\":" + json_names(PAGE_PLAYER_NAMES) +
                                  ",\"moves\":" + json_names(HELD_MOVE_NAMES) +
                                  ",\"menu\":" + json_names(HELD_MENU_NAMES) +
                                  ",\"pad\":" + json_names(PAD_FIELD_NAMES) + "}";
  return text;
}

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
EM_JS(void, read_page_fields, (int* fields, int count, const char* door_text), {
  const read = Module['pageInput'];
  if (!read) return;
  if (!Module['pageDoor']) Module['pageDoor'] = JSON.parse(UTF8ToString(door_text));
  const door = Module['pageDoor'];
  const values = read(door) || {};
  const out = [];
  for (const player of door.players) out.push(values[player]);
  out.push(values.menu);
  const pads = values.pads || [];
  const padCount = (count - out.length) / door.pad.length;
  for (let pad = 0; pad < padCount; ++pad) {
    for (const name of door.pad) out.push((pads[pad] || {})[name]);
  }
  for (let i = 0; i < count; ++i) HEAP32[(fields >> 2) + i] = out[i] | 0;
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
  read_page_fields(fields, FIELDS, door().c_str());
  PAGE_INPUT input;
  for (int player = 0; player < PAGE_PLAYERS; ++player) {
    input.moves[player] = static_cast<unsigned>(fields[player]);
  }
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
  tell_page(PAGE_MESSAGE_NAMES[SAY_PLAYERS], two ? "2" : "1", "");
}

void page_replays(const std::string& last, const std::string& best) {
  tell_page(PAGE_MESSAGE_NAMES[SAY_REPLAYS], last.c_str(), best.c_str());
}

void page_replay_refused(const std::string& why) {
  tell_page(PAGE_MESSAGE_NAMES[SAY_REFUSED], why.c_str(), "");
}

void page_text(const char* name, const std::string& text) {
  tell_page(PAGE_MESSAGE_NAMES[SAY_TEXT], name, text.c_str());
}
