#pragma once
#include <SDL.h>

// Ctrl+C, kill and a closed terminal (SIGINT, SIGTERM, SIGHUP) end the game
// as Escape would, from any screen: the handlers only note the request, and
// the event layer turns it into Escape presses (events.h); a game in play
// is saved, then the program ends. A second signal soon after the first
// (Ctrl+C pressed twice) is absorbed: the way out takes a fraction of a
// second and must not lose the save. A signal that comes STOP_GRACE_MS or
// more after the first, to a program still running (a loop that never
// reads its events), ends it at once, saved or not.

// Replaces SDL's handlers, which would turn the signals into a window close
// that the menus ignore. Call before SDL starts (SDL then leaves these in
// place) or after.
void install_stop_signals();

// A signal has asked the game to end.
bool stop_requested();

// How long after the first signal the program may take to save and end
// before a further signal ends it without waiting.
constexpr int STOP_GRACE_MS = 2000;

// What is left of the stop grace since the first signal (0 once it is
// over); STOP_GRACE_MS when no signal has come.
int stop_grace_left_ms();

// Forgets the request (a new run in the same process starts without one).
void forget_stop_request();

// Ends the program with status 0 at once, for a run that a signal has
// ended (its record already kept): closing the audio device would wait out
// the buffer it is playing, up to 0.2 s. Only the display is closed.
[[noreturn]] void leave_at_once();

// The step of the waits below: short enough that a signal ends them at once.
constexpr Uint32 WAIT_STEP_MS = 20;

// Waits ms milliseconds in steps of WAIT_STEP_MS, returning early once a signal has
// asked the game to end. Reads no clock.
void wait_ms(Uint32 ms);
