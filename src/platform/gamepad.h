#pragma once
// Up to two joysticks or gamepads, played as the keyboard: the first pad
// presses player one's keys, the second player two's. Joystick events are
// turned into the SDL_KEYDOWN and SDL_KEYUP events the game already reads,
// so every rule about keys (the held-key rule included) applies to pads too.
//
// Which key each part presses and which button presses it comes from the
// game (set_pad_map). By default, as sdl12-compat reports an SDL2 joystick
// (the numbering of an Xbox-style pad under Linux's xpad driver):
//   left stick (axes 0 and 1) and d-pad (hat 0): the player's four directions
//   button 0 (A):            the player's strike
//   button 6 (Back, Select): the key that quits
//   button 7 (Start):        the key that goes on
#include <SDL.h>

#include <deque>

constexpr int GAMEPAD_COUNT = 2;
// How far the stick must lean before it counts as a key (of 32767): about a
// quarter, past the drift of a worn stick.
constexpr int GAMEPAD_DEAD_ZONE = 8000;
constexpr int GAMEPAD_STRIKE_BUTTON = 0;
constexpr int GAMEPAD_BACK_BUTTON = 6;
constexpr int GAMEPAD_START_BUTTON = 7;

// The pad's parts that act as keys; the four directions come first.
enum GAMEPAD_PART {
  PAD_UP,
  PAD_DOWN,
  PAD_LEFT,
  PAD_RIGHT,
  PAD_STRIKE,
  PAD_BACK,
  PAD_START,
  PAD_PARTS
};
constexpr int PAD_DIRECTIONS = PAD_STRIKE;

// What one pad leans or holds. A direction's key is down while the stick or
// the d-pad holds it, so the two never press or release the same key twice.
struct GAMEPAD {
  bool stick[PAD_DIRECTIONS] = {};
  bool hat[PAD_DIRECTIONS] = {};
  bool button[PAD_PARTS] = {};
  bool held[PAD_PARTS] = {};  // the keys down for this pad
};

struct GAMEPADS {
  GAMEPAD pads[GAMEPAD_COUNT];
};

// What each pad's parts press: a key per part, and the button that presses
// it (-1 for none; the directions also follow the stick and the d-pad).
struct PAD_MAP {
  SDLKey keys[GAMEPAD_COUNT][PAD_PARTS];
  int buttons[GAMEPAD_COUNT][PAD_PARTS];
};
void set_pad_map(const PAD_MAP& map);

// A key's press (SDL_KEYDOWN) or release (SDL_KEYUP) as the keyboard gives
// it, with no modifier. (An event's type is a Uint8 in SDL 1.2 and a Uint32
// in the browser's SDL.)
using KEY_EVENT_TYPE = decltype(SDL_Event::type);
SDL_Event key_event(KEY_EVENT_TYPE type, SDLKey key);

// Whether e is a joystick's event. A joystick event is consumed: the key
// presses and releases it makes, if any (at most four, for the d-pad swung
// from up-left to down-right), are added to out, releases first. Events of a
// joystick numbered 2 or more make none.
bool translate_joystick_event(GAMEPADS& pads, const SDL_Event& e, std::deque<SDL_Event>& out);

// The same for the pads opened by open_gamepads; poll_event (events.h) reads
// every event through it.
bool translate_gamepad_event(const SDL_Event& e, std::deque<SDL_Event>& out);

// After the video has started: opens the first two joysticks, if any, and
// turns on their events. With none attached the joystick subsystem is shut
// again. close_gamepads() before SDL_Quit.
void open_gamepads();
void close_gamepads();
