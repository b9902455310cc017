// Joysticks and gamepads played as the keyboard: which key events each
// joystick event makes, and the pads read through SDL itself.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "game_fixture.h"
#include "harness.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "play_fixture.h"

namespace {

SDL_Event joy_event(Uint8 type, int which) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = type;
  e.jaxis.type = type;
  e.jaxis.which = static_cast<Uint8>(which);
  return e;
}

SDL_Event axis(int which, int number, int value) {
  SDL_Event e = joy_event(SDL_JOYAXISMOTION, which);
  e.jaxis.axis = static_cast<Uint8>(number);
  e.jaxis.value = static_cast<Sint16>(value);
  return e;
}

SDL_Event hat(int which, int value, int number = 0) {
  SDL_Event e = joy_event(SDL_JOYHATMOTION, which);
  e.jhat.hat = static_cast<Uint8>(number);
  e.jhat.value = static_cast<Uint8>(value);
  return e;
}

SDL_Event button(int which, int number, bool down) {
  SDL_Event e = joy_event(down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP, which);
  e.jbutton.button = static_cast<Uint8>(number);
  e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
  return e;
}

// "+up" for a key-down of Up, "-w" for a key-up of W, as the keyboard makes them.
std::string describe(const SDL_Event& e) {
  EXPECT_TRUE(e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) << int(e.type);
  EXPECT_EQ(e.key.type, e.type);
  EXPECT_EQ(e.key.state, e.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED);
  return (e.type == SDL_KEYDOWN ? "+" : "-") + std::string(SDL_GetKeyName(e.key.keysym.sym));
}

struct STEP {
  SDL_Event event;
  std::vector<std::string> keys;
};

}  // namespace

TEST(Gamepad, JoystickEventsBecomeThePlayersKeys) {
  const int far = 32767;
  const struct {
    const char* what;
    std::vector<STEP> steps;
  } cases[] = {
      {"the stick's dead zone, then past it and back",
       {{axis(0, 0, -GAMEPAD_DEAD_ZONE), {}},
        {axis(0, 0, GAMEPAD_DEAD_ZONE), {}},
        {axis(0, 0, -GAMEPAD_DEAD_ZONE - 1), {"+left"}},
        {axis(0, 0, -far - 1), {}},
        {axis(0, 0, -3000), {"-left"}},
        {axis(0, 1, GAMEPAD_DEAD_ZONE + 1), {"+down"}},
        {axis(0, 1, 0), {"-down"}}}},
      {"the stick swung from one side straight to the other",
       {{axis(0, 0, -far), {"+left"}},
        {axis(0, 0, far), {"-left", "+right"}},
        {axis(0, 1, -far), {"+up"}},
        {axis(0, 1, far), {"-up", "+down"}}}},
      {"a diagonal of the stick presses two keys",
       {{axis(0, 0, -20000), {"+left"}},
        {axis(0, 1, -20000), {"+up"}},
        {axis(0, 0, 0), {"-left"}},
        {axis(0, 1, 0), {"-up"}}}},
      {"d-pad diagonals and a swing to the opposite corner",
       {{hat(0, SDL_HAT_LEFTUP), {"+up", "+left"}},
        {hat(0, SDL_HAT_RIGHTDOWN), {"-up", "-left", "+down", "+right"}},
        {hat(0, SDL_HAT_RIGHT), {"-down"}},
        {hat(0, SDL_HAT_CENTERED), {"-right"}}}},
      {"the stick and the d-pad holding one direction press it once",
       {{axis(0, 0, -far), {"+left"}},
        {hat(0, SDL_HAT_LEFT), {}},
        {axis(0, 0, 0), {}},
        {hat(0, SDL_HAT_UP), {"-left", "+up"}},
        {hat(0, SDL_HAT_CENTERED), {"-up"}}}},
      {"buttons: strike, Back and Start; others press nothing",
       {{button(0, 0, true), {"+right ctrl"}},
        {button(0, 0, false), {"-right ctrl"}},
        {button(0, 7, true), {"+return"}},
        {button(0, 7, false), {"-return"}},
        {button(0, 6, true), {"+escape"}},
        {button(0, 6, false), {"-escape"}},
        {button(0, 1, true), {}},
        {button(0, 8, true), {}}}},
      {"a release with no press, a second press, a second release",
       {{button(0, 0, false), {}},
        {button(0, 0, true), {"+right ctrl"}},
        {button(0, 0, true), {}},
        {button(0, 0, false), {"-right ctrl"}},
        {button(0, 0, false), {}}}},
      {"the second joystick is player two",
       {{axis(1, 0, -far), {"+a"}},
        {axis(1, 1, far), {"+s"}},
        {hat(1, SDL_HAT_RIGHTUP), {"+w", "+d"}},
        {button(1, 0, true), {"+g"}},
        {button(1, 7, true), {"+return"}},
        {button(1, 6, true), {"+escape"}},
        {axis(0, 0, far), {"+right"}}}},
      {"joysticks numbered 2 and up, other axes and other hats press nothing",
       {{axis(2, 0, -far), {}},
        {hat(2, SDL_HAT_UP), {}},
        {button(2, 0, true), {}},
        {button(3, 7, true), {}},
        {axis(0, 2, -far - 1), {}},
        {axis(0, 5, far), {}},
        {hat(0, SDL_HAT_UP, 1), {}},
        {joy_event(SDL_JOYBALLMOTION, 0), {}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GAMEPADS pads;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i));
      std::deque<SDL_Event> out;
      EXPECT_TRUE(translate_joystick_event(pads, c.steps[i].event, out));
      std::vector<std::string> keys;
      for (const SDL_Event& key : out) keys.push_back(describe(key));
      EXPECT_EQ(keys, c.steps[i].keys);
    }
  }
}

TEST(Gamepad, OtherEventsAreNotTheTranslatorsToTake) {
  GAMEPADS pads;
  std::deque<SDL_Event> out;
  for (const SDL_Event& e :
       {harness::key_down(SDLK_LEFT), harness::key_up(SDLK_RETURN), harness::window_close()}) {
    EXPECT_FALSE(translate_joystick_event(pads, e, out));
  }
  EXPECT_TRUE(out.empty());
}

namespace {

// Reads every event the game would see, described as describe() does, or by
// their type for events that are not keys.
std::vector<std::string> poll_all() {
  std::vector<std::string> seen;
  SDL_Event e;
  while (poll_event(&e)) {
    seen.push_back(e.type == SDL_KEYDOWN || e.type == SDL_KEYUP ? describe(e)
                                                                : "type " + std::to_string(e.type));
  }
  return seen;
}

class GAMEPAD_POLL : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_NE(SDL_SetVideoMode(640, 480, 32, 0), nullptr);
    harness::drain_queue();
  }
  void TearDown() override {
    close_gamepads();
    SDL_Quit();
  }
};

}  // namespace

TEST_F(GAMEPAD_POLL, PadKeysTakeTheJoystickEventsPlaceInTheQueue) {
  open_gamepads();  // none attached: nothing opens, the events still translate
  harness::tap_down(SDLK_SPACE);
  harness::push(hat(0, SDL_HAT_LEFTUP));
  harness::push(axis(2, 0, -32000));
  harness::tap_up(SDLK_SPACE);
  harness::push(hat(1, SDL_HAT_CENTERED));
  harness::push(hat(0, SDL_HAT_CENTERED));
  EXPECT_EQ(poll_all(),
            (std::vector<std::string>{"+space", "+up", "+left", "-space", "-up", "-left"}));
  EXPECT_EQ(SDL_NumJoysticks(), 0) << "this machine has a joystick; the test expects none";
}

namespace {

// SDL2 itself, under sdl12-compat, which can attach virtual joysticks.
struct SDL2 {
  void* lib = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  template <class F>
  F get(const char* name) {
    return reinterpret_cast<F>(dlsym(lib, name));
  }
  ~SDL2() {
    if (lib != nullptr) dlclose(lib);
  }
};

}  // namespace

// Pads attached through SDL2 and read back through the SDL 1.2 calls the
// game makes: one alone plays; of three, the first two play, the third is
// never opened.
TEST_F(GAMEPAD_POLL, VirtualPadsReadThroughSdl12Compat) {
  SDL2 sdl2;
  ASSERT_NE(sdl2.lib, nullptr) << dlerror();
  // A window without the input focus gets no joystick events by default.
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  ASSERT_EQ(sdl2.get<int (*)(Uint32)>("SDL_InitSubSystem")(SDL_INIT_JOYSTICK), 0);
  const auto attach = sdl2.get<int (*)(int, int, int, int)>("SDL_JoystickAttachVirtual");
  const auto open = sdl2.get<void* (*)(int)>("SDL_JoystickOpen");
  const auto set_axis = sdl2.get<int (*)(void*, int, Sint16)>("SDL_JoystickSetVirtualAxis");
  const auto set_button = sdl2.get<int (*)(void*, int, Uint8)>("SDL_JoystickSetVirtualButton");
  const auto set_hat = sdl2.get<int (*)(void*, int, Uint8)>("SDL_JoystickSetVirtualHat");
  const int xbox_like = 1;  // SDL_JOYSTICK_TYPE_GAMECONTROLLER
  void* pads[3];
  // One pad alone plays player one.
  ASSERT_EQ(attach(xbox_like, 6, 11, 1), 0);
  pads[0] = open(0);
  open_gamepads();
  ASSERT_EQ(SDL_NumJoysticks(), 1);
  EXPECT_TRUE(SDL_JoystickOpened(0));
  poll_all();
  set_axis(pads[0], 0, -30000);
  EXPECT_EQ(poll_all(), std::vector<std::string>{"+left"});
  set_axis(pads[0], 0, 0);
  EXPECT_EQ(poll_all(), std::vector<std::string>{"-left"});
  close_gamepads();
  for (int i = 1; i < 3; ++i) {
    ASSERT_EQ(attach(xbox_like, 6, 11, 1), i);
    pads[i] = open(i);
  }

  open_gamepads();
  unsetenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS");
  ASSERT_EQ(SDL_NumJoysticks(), 3);
  EXPECT_TRUE(SDL_JoystickOpened(0));
  EXPECT_TRUE(SDL_JoystickOpened(1));
  EXPECT_FALSE(SDL_JoystickOpened(2));
  const struct {
    std::function<void()> act;
    std::vector<std::string> keys;
  } steps[] = {
      {[] {}, {}},  // whatever the pads report on opening
      {[&] { set_axis(pads[0], 0, -30000); }, {"+left"}},
      {[&] { set_axis(pads[0], 0, 30000); }, {"-left", "+right"}},
      {[&] {
         set_hat(pads[1], 0, SDL_HAT_LEFTUP);
         set_hat(pads[2], 0, SDL_HAT_UP);
       },
       {"+w", "+a"}},
      {[&] { set_button(pads[0], GAMEPAD_STRIKE_BUTTON, 1); }, {"+right ctrl"}},
      {[&] {
         set_button(pads[1], GAMEPAD_STRIKE_BUTTON, 1);
         set_button(pads[1], GAMEPAD_START_BUTTON, 1);
         set_button(pads[1], GAMEPAD_BACK_BUTTON, 1);
         set_button(pads[2], GAMEPAD_STRIKE_BUTTON, 1);
       },
       {"+g", "+escape", "+return"}},
      {[&] { set_button(pads[0], GAMEPAD_STRIKE_BUTTON, 0); }, {"-right ctrl"}},
      {[&] {
         set_button(pads[1], GAMEPAD_START_BUTTON, 0);
         set_hat(pads[1], 0, SDL_HAT_CENTERED);
       },
       {"-return", "-w", "-a"}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    steps[i].act();
    EXPECT_EQ(poll_all(), steps[i].keys);
  }
}

namespace {

void push_press(int which, int number) {
  harness::push(button(which, number, true));
  harness::push(button(which, number, false));
}

}  // namespace

class GAMEPAD_RUN : public GAME_TEST {};

TEST_F(GAMEPAD_RUN, StartGoesOnAndBackQuitsOnTheMenus) {
  // As Enter and Escape would: Start during the splash ends the title after
  // its first pass (flip 4), Back on the first hint's second pass quits.
  harness::at_time(1000, [] { push_press(0, GAMEPAD_START_BUTTON); });
  harness::after_flip(5, [] { push_press(1, GAMEPAD_BACK_BUTTON); });
  run(game);
  EXPECT_EQ(harness::flips(), 5);
}

class GAMEPAD_PLAY : public PLAY_TEST {};

TEST_F(GAMEPAD_PLAY, PadsSteerThePiratesAndKeepTheHeldKeyRule) {
  begin(true);
  no_ghost_pickups();
  PIRATE& one = *game.myPirate;
  PIRATE2& two = *game.myPirate2;
  harness::push(axis(0, 0, -32767));
  harness::push(hat(1, SDL_HAT_RIGHTDOWN));
  play_frame(game);
  EXPECT_EQ(one.get_x(), 270);
  EXPECT_EQ(one.get_y(), 120);
  EXPECT_EQ(two.get_x(), 290);
  EXPECT_EQ(two.get_y(), 290);

  harness::push(axis(0, 0, 32767));  // straight across: Left up, then Right down
  harness::push(hat(1, SDL_HAT_CENTERED));
  play_frame(game);
  EXPECT_EQ(one.get_x(), 280);
  EXPECT_EQ(two.get_x(), 290);
  EXPECT_EQ(two.get_y(), 290);

  // As after a mini-game: the stick held through it does not push the
  // pirate the other way when it lets go.
  one.zero_vel();
  one.not_moved();
  harness::push(axis(0, 0, 0));
  play_frame(game);
  EXPECT_EQ(one.get_xvel(), 0);
  EXPECT_EQ(one.get_x(), 280);
}
