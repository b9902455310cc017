#include "platform/events.h"

#include <cstring>
#include <deque>

#include "platform/gamepad.h"
#include "platform/signals.h"

namespace {

const Uint32 PAUSE_PASS_MS = 40;

// Events that come before SDL's queue: those a gamepad turned into keys and
// the key releases held back during a pause.
std::deque<SDL_Event> pending;
// Where each key's last press went: to the game (its release goes there
// too) or used up here (and its release with it).
// The last slot stands for any key SDL 1.2 has no name for.
enum KEY_STATE : Uint8 { FREE, HELD, TAKEN };
KEY_STATE keys[SDLK_LAST + 1] = {};
// Under a stop signal, whether this drain of the queue has had its Escape.
bool escape_given = false;

DESKTOP_KEY_MAP desktop;

// The page's side (page.h): what it held at the last read, the key each
// touch control pressed (its release goes there even if the keys changed
// meanwhile), and its pads' joystick events not yet read.
HELD_KEY_MAP held_keys;
PAGE_READER page_reader = page_input;
PAGE_INPUT page_seen;
SDLKey moves_pressed[PAGE_PLAYERS][HELD_MOVES];
SDLKey menu_pressed[HELD_MENU_KEYS];
std::deque<SDL_Event> from_pads;
bool raw_input = false;
bool pauses_passed = false;
const PAUSE_HOOK* pause_hook = nullptr;

// Escape, then nothing, then Escape again: each loop's drain of the queue
// reads exactly one Escape press and ends.
bool stop_event(SDL_Event& e) {
  SDL_Event dropped;
  while (SDL_PollEvent(&dropped)) {
  }
  pending.clear();
  from_pads.clear();
  escape_given = !escape_given;
  if (escape_given) e = key_event(SDL_KEYDOWN, desktop.leave);
  return escape_given;
}

void toggle_full_screen() {
  if (page_full_screen()) return;
  SDL_Surface* surface = SDL_GetVideoSurface();
  if (surface != nullptr) SDL_WM_ToggleFullScreen(surface);
}

bool is_key(const SDL_Event& e) { return e.type == SDL_KEYDOWN || e.type == SDL_KEYUP; }

bool is_press(const SDL_Event& e, SDLKey key) {
  return e.type == SDL_KEYDOWN && e.key.keysym.sym == key;
}

bool is_pause_key(SDLKey key) { return key == desktop.pause || key == desktop.pause_other; }

KEY_STATE& state_of(const SDL_Event& e) {
  const int key = e.key.keysym.sym;
  return keys[key >= 0 && key < SDLK_LAST ? key : SDLK_LAST];
}

// Acts on the full-screen and mute keys and uses up every press and release
// of the desktop keys, except the presses of P and Pause, which are left for
// the pause to judge, and the release of every press used up before.
bool take_desktop_key(const SDL_Event& e) {
  if (!is_key(e)) return false;
  const SDLKey key = e.key.keysym.sym;
  const bool down = e.type == SDL_KEYDOWN;
  KEY_STATE& state = state_of(e);
  if (!down && state == TAKEN) {
    state = FREE;
    return true;
  }
  if (key == desktop.full_screen_with_alt) {
    if (down && (e.key.keysym.mod & KMOD_ALT) != 0) {
      toggle_full_screen();
      state = TAKEN;
      return true;
    }
    return false;
  }
  if (key == desktop.full_screen) {
    if (down) toggle_full_screen();
    return true;
  }
  if (key == desktop.mute) {
    if (down && desktop.on_mute != nullptr) desktop.on_mute();
    return true;
  }
  return is_pause_key(key) && !down;
}

// The presses (or releases) of the controls whose bit changed.
void follow_held(unsigned before, unsigned now, int count, const SDLKey* to_press, SDLKey* pressed,
                 bool press) {
  for (int bit = 0; bit < count; ++bit) {
    const bool was = (before >> bit & 1u) != 0;
    if (((now >> bit & 1u) != 0) != press || was == press) continue;
    if (press) pressed[bit] = to_press[bit];
    pending.push_back(key_event(press ? SDL_KEYDOWN : SDL_KEYUP, pressed[bit]));
  }
}

template <class FIELD, class VALUE>
void set_field(FIELD& field, VALUE value) {
  field = static_cast<FIELD>(value);
}

// A browser pad's changes as the joystick events SDL would send for them.
void follow_pad(int which, const PAGE_PAD& before, const PAGE_PAD& now) {
  SDL_Event e;
  for (int button = 0; button < 32; ++button) {
    const bool down = (now.buttons >> button & 1u) != 0;
    if (down == ((before.buttons >> button & 1u) != 0)) continue;
    std::memset(&e, 0, sizeof e);
    set_field(e.type, down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP);
    set_field(e.jbutton.type, e.type);
    set_field(e.jbutton.which, which);
    set_field(e.jbutton.button, button);
    set_field(e.jbutton.state, down ? SDL_PRESSED : SDL_RELEASED);
    from_pads.push_back(e);
  }
  for (int axis = 0; axis < 2; ++axis) {
    if (now.axes[axis] == before.axes[axis]) continue;
    std::memset(&e, 0, sizeof e);
    set_field(e.type, SDL_JOYAXISMOTION);
    set_field(e.jaxis.type, e.type);
    set_field(e.jaxis.which, which);
    set_field(e.jaxis.axis, axis);
    e.jaxis.value = now.axes[axis];
    from_pads.push_back(e);
  }
  if (now.hat != before.hat) {
    std::memset(&e, 0, sizeof e);
    set_field(e.type, SDL_JOYHATMOTION);
    set_field(e.jhat.type, e.type);
    set_field(e.jhat.which, which);
    e.jhat.value = now.hat;
    from_pads.push_back(e);
  }
}

// Releases first: a finger sliding from one control onto another leaves
// the first.
void read_page() {
  const PAGE_INPUT now = page_reader();
  for (const bool press : {false, true}) {
    for (int player = 0; player < PAGE_PLAYERS; ++player) {
      follow_held(page_seen.moves[player], now.moves[player], HELD_MOVES, held_keys.moves[player],
                  moves_pressed[player], press);
    }
    follow_held(page_seen.menu, now.menu, HELD_MENU_KEYS, held_keys.menu, menu_pressed, press);
  }
  for (int pad = 0; pad < PAGE_PADS; ++pad) follow_pad(pad, page_seen.pads[pad], now.pads[pad]);
  page_seen = now;
}

bool is_pad_button(const SDL_Event& e) {
  return e.type == SDL_JOYBUTTONDOWN || e.type == SDL_JOYBUTTONUP;
}

// The next event past the stop signal, the gamepads and the desktop keys;
// false when none is waiting.
bool next_event(SDL_Event& e) {
  for (;;) {
    if (stop_requested()) return stop_event(e);
    if (!pending.empty()) {
      e = pending.front();
      pending.pop_front();
    } else {
      if (from_pads.empty()) {
        read_page();
        if (!pending.empty()) continue;
      }
      if (!from_pads.empty()) {
        e = from_pads.front();
        from_pads.pop_front();
      } else if (!SDL_PollEvent(&e)) {
        return false;
      }
      if (raw_input && is_pad_button(e)) {
        // The pad still learns the button is up or down, but makes no key.
        std::deque<SDL_Event> unused;
        translate_gamepad_event(e, unused);
        return true;
      }
      if (translate_gamepad_event(e, pending)) continue;
    }
    if (raw_input || !take_desktop_key(e)) return true;
  }
}

void note_delivered(const SDL_Event& e) {
  if (is_key(e)) state_of(e) = e.type == SDL_KEYDOWN ? HELD : FREE;
}

// Paused until P, Pause or Return resumes (false) or an event that the
// game must see ends the pause (true, the event in e). Releases of keys held
// when the pause began reach the game afterwards; everything else that
// arrives meanwhile is used up, key presses with their releases.
bool pause_until_resumed(SDL_Event& e) {
  const PAUSE_HOOK& paused = *pause_hook;
  paused.begin();
  std::deque<SDL_Event> releases;
  bool deliver = false;
  for (bool paused_on = true; paused_on;) {
    while (paused_on && next_event(e)) {
      if (e.type == SDL_QUIT || is_press(e, desktop.leave)) {
        deliver = true;
        paused_on = false;
      } else if (e.type == SDL_KEYDOWN) {
        const SDLKey key = e.key.keysym.sym;
        state_of(e) = TAKEN;
        paused_on = !is_pause_key(key) && key != desktop.resume;
      } else if (e.type == SDL_KEYUP && state_of(e) == HELD) {
        state_of(e) = FREE;
        releases.push_back(e);
      } else if (e.type == SDL_VIDEOEXPOSE) {
        paused.show_again();
      }
    }
    if (paused_on) SDL_Delay(PAUSE_PASS_MS);
  }
  pending.insert(pending.begin(), releases.begin(), releases.end());
  paused.end();
  return deliver;
}

int poll_live_event(SDL_Event* event) {
  SDL_Event e;
  while (next_event(e)) {
    const bool pause_key = !raw_input && e.type == SDL_KEYDOWN && is_pause_key(e.key.keysym.sym);
    if (pause_hook != nullptr && !pauses_passed && (pause_key || loses_focus(e))) {
      if (!pause_until_resumed(e)) continue;
    } else if (pause_key && !pauses_passed) {
      continue;
    }
    note_delivered(e);
    *event = e;
    return 1;
  }
  return 0;
}

EVENT_TAP event_tap = nullptr;

}  // namespace

bool loses_focus(const SDL_Event& e) {
  return e.type == SDL_ACTIVEEVENT && e.active.gain == 0 &&
         (e.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0;
}

int poll_event(SDL_Event* event) {
  return event_tap != nullptr ? event_tap(event, poll_live_event) : poll_live_event(event);
}

EVENT_TAP set_event_tap(EVENT_TAP tap) {
  const EVENT_TAP before = event_tap;
  event_tap = tap;
  return before;
}

void set_desktop_keys(const DESKTOP_KEY_MAP& map) { desktop = map; }

void set_held_keys(const HELD_KEY_MAP& map) { held_keys = map; }

PAGE_READER set_page_reader(PAGE_READER reader) {
  const PAGE_READER before = page_reader;
  page_reader = reader;
  return before;
}

void pass_raw_input(bool on) { raw_input = on; }

void pass_pauses(bool on) { pauses_passed = on; }

void set_pause_hook(const PAUSE_HOOK* hook) { pause_hook = hook; }

void closing_pause(Uint32 ms) {
  SDL_Event unused;
  for (;;) {
    while (poll_event(&unused)) {
    }
    if (ms == 0 || stop_requested()) return;
    const Uint32 step = ms < WAIT_STEP_MS ? ms : WAIT_STEP_MS;
    wait_ms(step);
    ms -= step;
  }
}
