// frame_bench: what one frame costs, against the floor of a full-screen
// background blit plus the flip, and how much memory the game takes over a
// bare window. Run from build/game/ (it reads the game's assets):
//   cd build/game && ../frame_bench
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "assets.h"
#include "game.h"
#include "game_setup.h"
#include "globals.h"
#include "image.h"
#include "minigames/fight_class.h"
#include "minigames/fight_rules.h"
#include "minigames/mini1.h"
#include "minigames/mini3.h"
#include "music.h"
#include "play_loop.h"
#include "replay_session.h"
#include "sound.h"

// The frame's own work is measured, not its wait for the next 40 ms tick.
extern "C" void __wrap_SDL_Delay(Uint32) {}

namespace {

GAME benched;

// Peak resident memory of this process so far, in MB.
double peak_rss_mb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      double kb = 0;
      status >> kb;
      return kb / 1024.0;
    }
    std::getline(status, key);
  }
  return 0;
}

void floor_frame(benchmark::State& state) {
  for (auto _ : state) {
    apply_surface(0, 0, benched.bg, screen);
    SDL_Flip(screen);
  }
}

// Two pirates walking to and fro along the bottom of the beach, out of reach
// of the map piece and the marker, both ghosts so that the game never ends;
// the treasure open with all 49 pieces up.
void busy_two_player_scene() {
  benched.multi = true;
  prepare_before_mode(benched);
  prepare_after_mode(benched);
  benched.myfight->replace();
  benched.myPirate->make_position(20, 370);
  benched.myPirate2->make_position(540, 370);
  benched.myPirate->go_ghost();
  benched.myPirate2->go_ghost();
  benched.myTreasure->collect();
}

SDL_Event key_press(SDLKey key) {
  SDL_Event e = {};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = key;
  return e;
}

void keep_scene_busy(int frame) {
  benched.ghost_counter = 0;
  benched.ghost_counter2 = 0;
  benched.lives1 = 3;
  benched.lives2 = 3;
  if (frame % 25 == 0) benched.myTreasure->collect();
  if (frame % 50 == 0) {
    const bool rightwards = (frame / 50) % 2 == 0;
    SDL_Event e = {};
    e.type = SDL_KEYUP;
    e.key.keysym.sym = rightwards ? SDLK_LEFT : SDLK_RIGHT;
    SDL_PushEvent(&e);
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = rightwards ? SDLK_RIGHT : SDLK_LEFT;
    SDL_PushEvent(&e);
    e.type = SDL_KEYUP;
    e.key.keysym.sym = rightwards ? SDLK_d : SDLK_a;
    SDL_PushEvent(&e);
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = rightwards ? SDLK_a : SDLK_d;
    SDL_PushEvent(&e);
  }
}

void play_frame_bench(benchmark::State& state) {
  busy_two_player_scene();
  int frame = 0;
  for (auto _ : state) {
    keep_scene_busy(frame++);
    play_frame(benched);
  }
  quit = false;
}

// The same frames recorded as every game is: the cost of recording.
void recorded_play_frame_bench(benchmark::State& state) {
  RECORDING recorded(benched, replay_start(benched));
  play_frame_bench(state);
  recorded.stop();
}

// The sword fight with every enemy walking the deck and both pirates
// striking; the pirates are moved off the lanes' way so the fight goes on.
void fight_frame_bench(benchmark::State& state) {
  FIGHT_ASSETS assets;
  assets.load();
  fight::FIGHT_STATE fight;
  fight::start(fight);
  int score = 0;
  int frame = 0;
  for (auto _ : state) {
    fight.hitbox1.y = 100;
    fight.hitbox2.y = 100;
    fight.hitbox1.x = 0;
    fight.hitbox2.x = 560;
    if (frame++ % 3 == 0) {
      fight::handle_input(fight, key_press(SDLK_RCTRL));
      fight::handle_input(fight, key_press(SDLK_g));
    }
    fight::step(fight, score);
    fight::draw(fight, assets, screen, score);
    SDL_Flip(screen);
  }
  assets.free();
}

// The trap run, started again whenever the pirates fall out.
void trap_run_frame_bench(benchmark::State& state) {
  trap_run::TRAP_RUN_ASSETS assets;
  assets.load();
  trap_run::TRAP_RUN_STATE run;
  trap_run::set_up(run);
  int score = 0;
  for (auto _ : state) {
    if (run.end) trap_run::set_up(run);
    trap_run::draw(run, assets, screen, score);
    trap_run::scroll(run, score);
    trap_run::step(run);
    SDL_Flip(screen);
  }
  assets.free();
}

// The cannonball rows, both rows falling, started again now and then so
// that the fall never outruns the screen.
void rows_frame_bench(benchmark::State& state) {
  cannon_rows::ROWS_ASSETS assets;
  assets.load();
  cannon_rows::ROWS_STATE game_rows;
  cannon_rows::set_up(game_rows);
  int score = 0;
  int frames = 0;
  for (auto _ : state) {
    if (++frames % 2000 == 0) cannon_rows::set_up(game_rows);
    cannon_rows::frame(game_rows, assets, screen, score);
    SDL_Flip(screen);
  }
  assets.free();
}

// The start-up check that every game file decodes, as start_up runs it.
void file_check_bench(benchmark::State& state) {
  for (auto _ : state) {
    if (!bad_game_files().empty()) state.SkipWithError("a game file is missing or corrupt");
  }
}

// Remembers each benchmark's best real time per iteration over its
// repetitions: the least disturbed by whatever else the machine is doing.
class COLLECTOR : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> ns;
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      const std::string name = run.run_name.function_name;
      const double t = run.GetAdjustedRealTime();
      if (ns.count(name) == 0 || t < ns[name]) ns[name] = t;
    }
  }
};

void add(const char* name, void (*fn)(benchmark::State&)) {
  benchmark::RegisterBenchmark(name, fn)->MinTime(0.3)->Repetitions(10)->ReportAggregatesOnly(
      false);
}

// Loads every other image and sound the game has once, as the mini-games do.
void load_every_asset(std::vector<SDL_Surface*>& images, std::vector<Mix_Chunk*>& sounds) {
  for (const std::string& file : game_files()) {
    const std::string ext = file.substr(file.size() - 3);
    if (ext == "png" || ext == "jpg" || ext == "gif" || ext == "bmp")
      images.push_back(load_image(file));
    if (ext == "wav") sounds.push_back(load_sound(file));
  }
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);

  // A bare window first, for the memory baseline.
  SDL_Init(SDL_INIT_VIDEO);
  SDL_SetVideoMode(640, 480, 32, SDL_FULLSCREEN);
  SDL_Flip(SDL_GetVideoSurface());
  const double bare_mb = peak_rss_mb();
  SDL_Quit();

  if (!start_up(benched)) return 1;
  std::vector<SDL_Surface*> images;
  std::vector<Mix_Chunk*> sounds;
  load_every_asset(images, sounds);
  switch_music(benched.music, "sfx\\game.wav");

  add("floor", floor_frame);
  add("play_frame", play_frame_bench);
  add("recorded_play_frame", recorded_play_frame_bench);
  add("fight_frame", fight_frame_bench);
  add("trap_run_frame", trap_run_frame_bench);
  add("rows_frame", rows_frame_bench);
  add("file_check", file_check_bench);
  // Repetitions of the different frames take turns, so that a slow spell of
  // the machine does not fall on one of them only.
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  COLLECTOR collector;
  benchmark::RunSpecifiedBenchmarks(&collector);

  const double game_mb = peak_rss_mb();
  for (SDL_Surface* s : images) SDL_FreeSurface(s);
  for (Mix_Chunk* c : sounds) Mix_FreeChunk(c);
  shut_down(benched);

  const double floor_ns = collector.ns["floor"];
  std::printf("memory over bare window: %.1f MB (bare window %.1f MB, game %.1f MB)\n",
              game_mb - bare_mb, bare_mb, game_mb);
  if (floor_ns > 0) {
    std::printf("floor: %.2f ms a frame; play frame %.2f ms\n", floor_ns / 1e6,
                collector.ns["play_frame"] / 1e6);
    std::printf("fight frame / floor: %.2f\n", collector.ns["fight_frame"] / floor_ns);
    std::printf("trap run frame / floor: %.2f\n", collector.ns["trap_run_frame"] / floor_ns);
    std::printf("rows frame / floor: %.2f\n", collector.ns["rows_frame"] / floor_ns);
    std::printf("play frame / floor: %.2f\n", collector.ns["play_frame"] / floor_ns);
    std::printf("recorded play frame / floor: %.2f\n",
                collector.ns["recorded_play_frame"] / floor_ns);
  }
  std::printf("start-up file check: %.1f ms\n", collector.ns["file_check"] / 1e6);
  return 0;
}
