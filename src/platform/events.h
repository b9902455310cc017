#pragma once
#include <SDL.h>

#include "platform/page.h"

// The game's one way to read events: every loop calls poll_event where it
// would call SDL_PollEvent. On the way to the game's rules, in this order:
// - after a stop signal (signals.h) the player's input is dropped and each
//   drain of the queue reads one Escape press, so every loop leaves as if
//   Escape had been pressed;
// - what the page holds (page.h) is read when the queue runs dry: a touch
//   control's hold becomes its key's press and its release the release of
//   that same key; the browser's pads become joystick events;
// - joystick events become the key events the game reads (gamepads);
// - the desktop keys are used up, presses and releases alike: Alt+Enter and
//   F11 toggle full screen, M mutes and unmutes music and effects together,
//   P and Pause pause a game in play (pause.h) and do nothing elsewhere;
// - while a game is in play, losing the input focus or being minimised
//   pauses it too. Paused, poll_event returns only once P, Pause or Return
//   resumes (their presses used up), or with the Escape press, window close
//   or stop signal that ends the pause and reaches the game as it is. Keys
//   let go while paused are let go after it; keys pressed while paused are
//   used up with their releases.
// A player who never uses these keys sees every event as SDL gives it.
int poll_event(SDL_Event* event);

// The keys the layer acts on, set by the game before it reads an event: the
// two full-screen keys (the second with Alt), mute, the two pause keys, the
// key that also resumes, and the key a stop signal presses; and what the
// mute key does, which is the game's (its sound levels).
struct DESKTOP_KEY_MAP {
  SDLKey full_screen, full_screen_with_alt, mute, pause, pause_other, resume, leave;
  void (*on_mute)();
};
void set_desktop_keys(const DESKTOP_KEY_MAP& map);

// The keys the page's touch controls press (page.h), set by the game
// before main runs.
struct HELD_KEY_MAP {
  SDLKey moves[PAGE_PLAYERS][HELD_MOVES];
  SDLKey menu[HELD_MENU_KEYS];
};
void set_held_keys(const HELD_KEY_MAP& map);

// Where the layer reads what the page holds: page_input unless replaced
// (returns the one it replaces).
using PAGE_READER = PAGE_INPUT (*)();
PAGE_READER set_page_reader(PAGE_READER reader);

// A replay's recorder or player stands between this layer and the game:
// poll_event hands it each call, with the layer's own reading as live. The
// plain game has none.
using EVENT_SOURCE = int (*)(SDL_Event* event);
using EVENT_TAP = int (*)(SDL_Event* event, EVENT_SOURCE live);
EVENT_TAP set_event_tap(EVENT_TAP tap);  // returns the one it replaces

// A tap for as long as the object lasts (or until restore): the tap it
// replaced is put back, so taps set inside one another (a watch inside an
// attract mode inside a recording) leave none empty or stale.
class EVENT_TAP_SCOPE {
 public:
  explicit EVENT_TAP_SCOPE(EVENT_TAP tap) : before_(set_event_tap(tap)) {}
  ~EVENT_TAP_SCOPE() { restore(); }
  EVENT_TAP_SCOPE(const EVENT_TAP_SCOPE&) = delete;
  EVENT_TAP_SCOPE& operator=(const EVENT_TAP_SCOPE&) = delete;
  void restore() {
    if (restored_) return;
    set_event_tap(before_);
    restored_ = true;
  }

 private:
  EVENT_TAP before_;
  bool restored_ = false;
};

// Whether e says the window lost the input focus or was minimised.
bool loses_focus(const SDL_Event& e);

// Pausing is the game's (pause.h): while a game that can be paused is in
// play it hands the layer what a pause does, and null once none is.
struct PAUSE_HOOK {
  void (*begin)();       // the paused screen shows; music and effects pause
  void (*show_again)();  // after the window was uncovered
  void (*end)();         // the game's frame and sound come back
};
void set_pause_hook(const PAUSE_HOOK* hook);

// While on (a replay being watched, which has a pause of its own), P, Pause
// and a lost focus reach the caller as they are instead of pausing.
void pass_pauses(bool on);

// While on (for choosing a key or a pad button), every key reaches the
// caller as it is, the desktop keys acting not, and joystick buttons come
// as themselves instead of as keys. A stop signal still presses Escape.
void pass_raw_input(bool on);

// The closing moment of a mini-game or the sword fight: waits ms
// milliseconds, using up every event that arrives meanwhile so that no key
// pressed in it reaches the main game. A stop signal cuts it short.
void closing_pause(Uint32 ms);
