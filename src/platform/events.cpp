#include "platform/events.h"

#include <SDL_mixer.h>

#include <deque>

#include "platform/gamepad.h"
#include "platform/pause.h"
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
bool raw_input = false;
bool pauses_passed = false;

bool muted = false;
int music_volume = MIX_MAX_VOLUME;
int effect_volume = MIX_MAX_VOLUME;

// Escape, then nothing, then Escape again: each loop's drain of the queue
// reads exactly one Escape press and ends.
bool stop_event(SDL_Event& e) {
  SDL_Event dropped;
  while (SDL_PollEvent(&dropped)) {
  }
  pending.clear();
  escape_given = !escape_given;
  if (escape_given) e = key_event(SDL_KEYDOWN, desktop.leave);
  return escape_given;
}

void toggle_full_screen() {
  SDL_Surface* surface = SDL_GetVideoSurface();
  if (surface != nullptr) SDL_WM_ToggleFullScreen(surface);
}

void toggle_mute() {
  if (!muted) {
    Mix_VolumeMusic(0);
    Mix_Volume(-1, 0);
  } else {
    Mix_VolumeMusic(music_volume);
    Mix_Volume(-1, effect_volume);
  }
  muted = !muted;
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
    if (down) toggle_mute();
    return true;
  }
  return is_pause_key(key) && !down;
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
      if (!SDL_PollEvent(&e)) return false;
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
  PAUSED_SCREEN paused;
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
  return deliver;
}

int poll_live_event(SDL_Event* event) {
  SDL_Event e;
  while (next_event(e)) {
    const bool pause_key = !raw_input && e.type == SDL_KEYDOWN && is_pause_key(e.key.keysym.sym);
    if (pausable() && !pauses_passed && (pause_key || loses_focus(e))) {
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

bool sound_muted() { return muted; }

void set_sound_levels(int music, int effects) {
  music_volume = music;
  effect_volume = effects;
  if (muted) return;
  Mix_VolumeMusic(music_volume);
  Mix_Volume(-1, effect_volume);
}

void pass_raw_input(bool on) { raw_input = on; }

void pass_pauses(bool on) { pauses_passed = on; }

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
