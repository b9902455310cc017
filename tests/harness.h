#pragma once
// The headless test harness: the dummy SDL drivers, a virtual clock that
// replaces SDL_GetTicks and SDL_Delay, scripted input delivered as virtual
// time passes or frames are flipped, and capture of flipped frames.
#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

// ---- The virtual clock. SDL_Delay advances it at once; nothing else does.
Uint32 now();
void advance(Uint32 ms);
// Sets the clock to ms, say just before SDL's count passes 2^31 or wraps at
// 2^32; at_time and the limits then count on from there across the wrap.
void set_clock(Uint32 ms);
// Makes the k-th SDL_GetTicks call from now (1 = the next one) see the clock
// ms further on, as if the game had been busy for that long.
void stall_at_ticks_call(int k, Uint32 ms);
// A run that passes this much virtual time, or this many flips, is stuck:
// the harness throws STUCK out of the game's next SDL_Delay or SDL_Flip.
struct STUCK {
  std::string why;
};
void set_limits(Uint32 max_ms, int max_flips);

// The game's own calls of clock_gettime(CLOCK_MONOTONIC) and nanosleep (the
// records' lock waits with them) on a clock of their own while on: a
// nanosleep returns at once with that clock on by its time. Off by default.
void virtual_system_waits(bool on);
// That clock, in milliseconds.
long long system_ms();

// ---- Scripted input and actions.
// Runs action once the virtual clock has reached ms (checked in SDL_Delay).
void at_time(Uint32 ms, std::function<void()> action);
// Runs action right after the n-th flip counted from the last reset (n >= 1).
void after_flip(int n, std::function<void()> action);
// Runs action after every flip, with the flip's number.
void on_every_flip(std::function<void(int)> action);

SDL_Event key_down(SDLKey key);
SDL_Event key_up(SDLKey key);
SDL_Event window_close();
// Puts an event on SDL's queue now.
void push(SDL_Event e);
void press(SDLKey key);     // key down, then key up
void tap_down(SDLKey key);  // key down only
void tap_up(SDLKey key);    // key up only
// Helpers that schedule a press after flip n.
void press_after_flip(int n, SDLKey key);
void push_after_flip(int n, SDL_Event e);
// Events still waiting on SDL's queue (reads them all).
int drain_queue();

// ---- Frames.
int flips();
// Keep a copy of every flipped frame's pixels (off by default: it costs).
void capture_frames(bool on);
// The last flipped frame as a new 32-bit surface (caller frees), or null.
SDL_Surface* last_frame();
// Saves a surface as a PNG a person can open.
bool save_png(SDL_Surface* surface, const std::string& path);
// Where a test keeps a picture for a person to look at: build/test-frames/NAME.
std::string frame_file(const std::string& name);
// The colour of one pixel of a surface.
void pixel_rgb(SDL_Surface* surface, int x, int y, Uint8* r, Uint8* g, Uint8* b);
// How many pixels of the two 640 x 480 surfaces differ in colour, looking
// at every step-th pixel of every step-th row.
int differing_pixels(SDL_Surface* a, SDL_Surface* b, int step = 1);

// ---- Sound. The music files loaded so far, in order, and how often the
// effect loaded from a file has been played.
const std::vector<std::string>& music_files();
int plays(const std::string& sound_file);
int total_plays();

// The whole text of a file; empty when it cannot be read.
std::string file_text(const std::string& path);

// Whether text holds a byte a terminal may act on: a control byte other
// than the line's end, or DEL.
bool has_control_bytes(const std::string& text);

// Runs body as on a full disk: no file may grow past one byte, and writing
// past that fails instead of raising SIGXFSZ.
void as_on_a_full_disk(const std::function<void()>& body);

// Forgets every scheduled action, sets the clock to 0, the flip count to 0,
// the limits to their defaults (30 virtual minutes, 200000 flips).
void reset();

// ---- Working directory. A fresh temporary directory that sees every game
// asset (through links to the built game directory) but has its own
// records.dat. Entered on construction, removed on destruction.
class GAME_DIR_COPY {
 public:
  GAME_DIR_COPY();
  ~GAME_DIR_COPY();
  const std::string& path() const { return dir; }

 private:
  std::string dir;
  std::string previous;
};

}  // namespace harness
