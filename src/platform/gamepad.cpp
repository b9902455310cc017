#include "platform/gamepad.h"

#include <algorithm>
#include <cstring>

namespace {

// Set by the game before main runs.
PAD_MAP pad_map;

int button_part(int pad, int button) {
  for (int part = 0; part < PAD_PARTS; ++part) {
    if (pad_map.buttons[pad][part] == button) return part;
  }
  return PAD_PARTS;
}

// One axis of the stick: past the dead zone one way or the other.
void lean(bool* stick, int less, int more, int value) {
  stick[less] = value < -GAMEPAD_DEAD_ZONE;
  stick[more] = value > GAMEPAD_DEAD_ZONE;
}

// Presses and releases the keys whose part changed. Releases go first, as a
// stick swung from left to right leaves Left before it reaches Right.
void settle(GAMEPAD& pad, const bool* want, const SDLKey* keys, std::deque<SDL_Event>& out) {
  for (const bool press : {false, true}) {
    for (int part = 0; part < PAD_PARTS; ++part) {
      if (want[part] != press || pad.held[part] == press) continue;
      pad.held[part] = press;
      out.push_back(key_event(press ? SDL_KEYDOWN : SDL_KEYUP, keys[part]));
    }
  }
}

GAMEPADS& live_pads() {
  static GAMEPADS pads;
  return pads;
}

SDL_Joystick* opened[GAMEPAD_COUNT];
bool joysticks_on = false;

}  // namespace

void set_pad_map(const PAD_MAP& map) { pad_map = map; }

SDL_Event key_event(KEY_EVENT_TYPE type, SDLKey key) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  return e;
}

bool translate_joystick_event(GAMEPADS& pads, const SDL_Event& e, std::deque<SDL_Event>& out) {
  int which = 0;
  switch (e.type) {
    case SDL_JOYAXISMOTION:
      which = e.jaxis.which;
      break;
    case SDL_JOYHATMOTION:
      which = e.jhat.which;
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      which = e.jbutton.which;
      break;
    case SDL_JOYBALLMOTION:
      return true;
    default:
      return false;
  }
  if (which >= GAMEPAD_COUNT) return true;

  GAMEPAD& pad = pads.pads[which];
  bool want[PAD_PARTS];
  std::copy(pad.held, pad.held + PAD_PARTS, want);
  if (e.type == SDL_JOYAXISMOTION) {
    // Other axes are triggers or a second stick; a trigger rests at one end.
    if (e.jaxis.axis == 0) lean(pad.stick, PAD_LEFT, PAD_RIGHT, e.jaxis.value);
    if (e.jaxis.axis == 1) lean(pad.stick, PAD_UP, PAD_DOWN, e.jaxis.value);
  } else if (e.type == SDL_JOYHATMOTION) {
    if (e.jhat.hat == 0) {
      pad.hat[PAD_UP] = (e.jhat.value & SDL_HAT_UP) != 0;
      pad.hat[PAD_DOWN] = (e.jhat.value & SDL_HAT_DOWN) != 0;
      pad.hat[PAD_LEFT] = (e.jhat.value & SDL_HAT_LEFT) != 0;
      pad.hat[PAD_RIGHT] = (e.jhat.value & SDL_HAT_RIGHT) != 0;
    }
  } else {
    const int part = button_part(which, e.jbutton.button);
    if (part < PAD_PARTS) want[part] = pad.button[part] = e.type == SDL_JOYBUTTONDOWN;
  }
  for (int d = 0; d < PAD_DIRECTIONS; ++d) want[d] = pad.stick[d] || pad.hat[d] || pad.button[d];
  settle(pad, want, pad_map.keys[which], out);
  return true;
}

bool translate_gamepad_event(const SDL_Event& e, std::deque<SDL_Event>& out) {
  return translate_joystick_event(live_pads(), e, out);
}

void open_gamepads() {
  live_pads() = GAMEPADS{};
  std::fill(opened, opened + GAMEPAD_COUNT, nullptr);
  joysticks_on = false;
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
  const int count = std::min(SDL_NumJoysticks(), GAMEPAD_COUNT);
  if (count <= 0) {
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    return;
  }
  joysticks_on = true;
  for (int i = 0; i < count; ++i) opened[i] = SDL_JoystickOpen(i);
  SDL_JoystickEventState(SDL_ENABLE);
}

void close_gamepads() {
  for (SDL_Joystick*& joystick : opened) {
    if (joystick != nullptr) SDL_JoystickClose(joystick);
    joystick = nullptr;
  }
  if (joysticks_on) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  joysticks_on = false;
  live_pads() = GAMEPADS{};
}
