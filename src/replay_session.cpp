#include "replay_session.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "globals.h"
#include "music.h"
#include "platform/events.h"
#include "platform/key_names.h"
#include "platform/records_location.h"
#include "platform/signals.h"
#include "platform/time_scale.h"
#include "play_loop.h"
#include "random.h"
#include "records.h"
#include "replay_state.h"
#include "settings.h"
#include "text.h"

namespace {

const int FASTEST = 8;
const Uint32 WATCH_PAUSE_STEP_MS = 40;
const SDL_Color MARK_COLOUR = {100, 50, 10, 0};
const Uint32 DIVERGED_MS = 3000;

RECORDED_GAME recording;
RECORDED_GAME last;

// The attract mode: 30 s of title screens without a key.
const Uint32 ATTRACT_DRAINS = 30 * 1000 / 40;
bool attract_on = false;
GAME* attract_game = nullptr;
Uint32 idle_drains = 0;

bool recordable(const SDL_Event& e, REPLAY_EVENT& out) {
  if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
    out.kind = e.type == SDL_KEYDOWN ? REPLAY_KIND::KEY_DOWN : REPLAY_KIND::KEY_UP;
    // A key SDL 1.2 has no name for still counts as a key (pirate two's
    // "any key"): kept as the one past the last.
    out.key = static_cast<Uint16>(key_number(e.key.keysym.sym));
    return true;
  }
  if (e.type == SDL_QUIT) {
    out.kind = REPLAY_KIND::QUIT;
    out.key = 0;
    return true;
  }
  return false;
}

int record_event(SDL_Event* event, EVENT_SOURCE live) {
  const int got = live(event);
  REPLAY_EVENT e;
  if (got == 0) {
    ++recording.drains;
  } else if (recordable(*event, e)) {
    e.drain = recording.drains;
    recording.events.push_back(e);
  }
  return got;
}

bool record_pace(TIMER& timer, int frame_ms, FRAME_PACER live) {
  const bool on_time = live(timer, frame_ms);
  recording.on_time.push_back(on_time);
  return on_time;
}

// ---- Watching.

struct WATCH {
  const RECORDED_GAME* replay = nullptr;
  size_t next_event = 0;
  size_t next_frame = 0;
  Uint32 drain = 0;
  bool controls_read = false;
  bool stopping = false;
  bool escape_given = false;
  bool overran = false;
  int speed = 1;
  bool any_key_stops = false;  // the attract mode's
  TTF_Font* font = nullptr;
};
WATCH watch;

SDL_Event made_event(const REPLAY_EVENT& r) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  if (r.kind == REPLAY_KIND::QUIT) {
    e.type = SDL_QUIT;
    return e;
  }
  e.type = r.kind == REPLAY_KIND::KEY_DOWN ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.type = e.type;
  e.key.state = r.kind == REPLAY_KIND::KEY_DOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key_of_number(r.key);
  return e;
}

void set_speed(int speed) {
  watch.speed = speed;
  set_time_scale(speed);
}

// The watcher's own keys, read once a frame from the real keyboard; Space
// holds everything here until it is pressed again.
void read_watch_keys(EVENT_SOURCE live) {
  SDL_Event e;
  bool paused = false;
  do {
    while (live(&e) != 0) {
      if (e.type == SDL_QUIT || pressed(e, MENU_QUIT) ||
          (watch.any_key_stops && e.type == SDL_KEYDOWN)) {
        watch.stopping = true;
        paused = false;
      } else if (pressed(e, WATCH_PAUSE)) {
        paused = !paused;
      } else if (pressed(e, WATCH_FASTER)) {
        set_speed(watch.speed >= FASTEST ? FASTEST : watch.speed * 2);
      } else if (pressed(e, WATCH_NORMAL)) {
        set_speed(1);
      }
    }
    if (paused) SDL_Delay(WATCH_PAUSE_STEP_MS);
  } while (paused);
}

int play_event(SDL_Event* event, EVENT_SOURCE live) {
  if (!watch.controls_read) {
    read_watch_keys(live);
    watch.controls_read = true;
  }
  if (watch.stopping) {
    // As a stop signal does: one Escape per drain, so every loop leaves.
    watch.escape_given = !watch.escape_given;
    if (watch.escape_given) {
      *event = made_event(
          REPLAY_EVENT{0, REPLAY_KIND::KEY_DOWN, static_cast<Uint16>(key_of(MENU_QUIT))});
      return 1;
    }
    watch.controls_read = false;
    return 0;
  }
  const std::vector<REPLAY_EVENT>& events = watch.replay->events;
  if (watch.next_event < events.size() && events[watch.next_event].drain == watch.drain) {
    *event = made_event(events[watch.next_event++]);
    return 1;
  }
  ++watch.drain;
  watch.controls_read = false;
  if (watch.drain > watch.replay->drains) {
    // The game goes on past its recording: it has diverged.
    watch.overran = true;
    watch.stopping = true;
  }
  return 0;
}

bool play_pace(TIMER& timer, int frame_ms, FRAME_PACER live) {
  // Drawn after the frame, before it is shown.
  draw_text(screen, watch.font, "Replay", MARK_COLOUR, 0, 280, ALIGN::CENTRE);
  live(timer, frame_ms);
  const std::vector<bool>& on_time = watch.replay->on_time;
  if (watch.next_frame < on_time.size()) return on_time[watch.next_frame++];
  watch.overran = true;
  return true;
}

// Everything of the run that watching a game changes.
struct SAVED {
  REPLAY_START at;
  int score, lives1, lives2;
  bool multi, quit, start;
};

SAVED save(GAME& game) {
  return SAVED{replay_start(game), game.score, game.lives1, game.lives2, game.multi, quit, start};
}

void put_back(GAME& game, const SAVED& s) {
  restore_carried_state(game, s.at.carried);
  rewind_rand(s.at.seed, s.at.draws);
  game.score = s.score;
  game.lives1 = s.lives1;
  game.lives2 = s.lives2;
  game.multi = s.multi;
  quit = s.quit;
  start = s.start;
}

// The best game kept, of either mode: the one with the higher score.
bool best_kept(RECORDED_GAME& best) {
  const std::string where = directory_of(records_path());
  bool found = false;
  for (const char* name : {"best-solo.replay", "best-multi.replay"}) {
    RECORDED_GAME replay;
    std::string error;
    if (load_replay(where + name, replay, error) && (!found || replay.score > best.score)) {
      best = replay;
      found = true;
    }
  }
  return found;
}

int attract_event(SDL_Event* event, EVENT_SOURCE live) {
  const int got = live(event);
  if (got != 0) {
    if (event->type == SDL_KEYDOWN) idle_drains = 0;
    return got;
  }
  RECORDED_GAME best;
  if (++idle_drains >= ATTRACT_DRAINS && attract_game != nullptr && best_kept(best)) {
    watch.any_key_stops = true;
    watch_replay(*attract_game, best);
    watch.any_key_stops = false;
    switch_music(attract_game->music, "sfx\\open.wav");
  }
  if (idle_drains >= ATTRACT_DRAINS) idle_drains = 0;
  return 0;
}

}  // namespace

void use_attract_mode(bool on) { attract_on = on; }

ATTRACT_SCOPE::ATTRACT_SCOPE(GAME& game) {
  if (!attract_on) return;
  attract_game = &game;
  idle_drains = 0;
  set_event_tap(attract_event);
}

ATTRACT_SCOPE::~ATTRACT_SCOPE() {
  if (!attract_on) return;
  set_event_tap(nullptr);
  attract_game = nullptr;
}

REPLAY_START replay_start(GAME& game) {
  return REPLAY_START{carried_state(game), rand_seed(), rand_draws()};
}

void start_recording(GAME& game, const REPLAY_START& begin) {
  recording = RECORDED_GAME();
  recording.version = game_version();
  recording.multi = game.multi;
  recording.speed = current_settings().speed;
  for (int a = 0; a < PLAYER_ACTIONS; ++a) recording.keys[a] = current_settings().keys[a];
  recording.seed = begin.seed;
  recording.draws = begin.draws;
  recording.carried = begin.carried;
  set_event_tap(record_event);
  set_pace_tap(record_pace);
}

void stop_recording(GAME& game) {
  set_event_tap(nullptr);
  set_pace_tap(nullptr);
  recording.score = game.score;
  recording.state = state_hash(game);
  last = recording;
}

void play_recorded(GAME& game, const REPLAY_START& begin) {
  start_recording(game, begin);
  play_loop(game);
  stop_recording(game);

  const RECORDS records = read_records(records_path());
  const std::string where = directory_of(records_path_for_saving());
  const std::string bytes = replay_text(last);
  keep_file(where + "last.replay", bytes);
  // A slowed-down game sets no record, so it is never the best game.
  if (!assisted() && game.score > (game.multi ? records.multi : records.solo)) {
    keep_file(where + (game.multi ? "best-multi.replay" : "best-solo.replay"), bytes);
  }
}

const RECORDED_GAME& last_replay() { return last; }

bool watch_replay(GAME& game, const RECORDED_GAME& replay, REPLAY_END* end) {
  const SAVED saved = save(game);
  if (!restore_carried_state(game, replay.carried)) {
    std::fprintf(stderr, "brinegrab: the replay is corrupt: its starting state does not fit\n");
    return false;
  }
  rewind_rand(replay.seed, replay.draws);
  game.multi = replay.multi;
  game.score = 0;
  quit = false;
  start = false;

  const bool any_key_stops = watch.any_key_stops;
  watch = WATCH();
  watch.replay = &replay;
  watch.any_key_stops = any_key_stops;
  watch.font = TTF_OpenFont("text.ttf", 20);
  // The game is played again at its own speed, with its players' keys.
  const SETTINGS settings_before = current_settings();
  SETTINGS as_recorded = settings_before;
  as_recorded.speed = replay.speed;
  for (int a = 0; a < PLAYER_ACTIONS; ++a) as_recorded.keys[a] = replay.keys[a];
  use_settings(as_recorded);
  set_speed(1);
  prepare_before_mode(game);
  prepare_after_mode(game);
  const EVENT_TAP event_before = set_event_tap(play_event);
  const PACE_TAP pace_before = set_pace_tap(play_pace);
  play_loop(game);
  set_event_tap(event_before);
  set_pace_tap(pace_before);
  set_speed(1);
  use_settings(settings_before);

  const REPLAY_END ended{game.score, watch.drain, state_hash(game)};
  if (end != nullptr) *end = ended;
  const bool stopped = watch.stopping && !watch.overran;
  const bool same = !watch.overran && ended.score == replay.score &&
                    ended.drains == replay.drains && ended.state == replay.state &&
                    watch.next_event == replay.events.size() &&
                    watch.next_frame == replay.on_time.size();
  if (!stopped && !same) {
    std::fprintf(stderr,
                 "brinegrab: this replay diverged from the game it recorded: it scored %d, the "
                 "recording %d\n",
                 game.score, replay.score);
    // On the screen too, for a moment, for whoever watches full screen.
    const std::string said = "This replay went another way than its game: it scored " +
                             std::to_string(game.score) + ", the game " +
                             std::to_string(replay.score);
    draw_text(screen, watch.font, said, MARK_COLOUR, 0, 310, ALIGN::CENTRE);
    SDL_Flip(screen);
    wait_ms(DIVERGED_MS);
  }
  if (watch.font != nullptr) TTF_CloseFont(watch.font);
  put_back(game, saved);
  return stopped || same;
}

void watch_last_game(GAME& game) {
  if (last.version.empty()) return;
  watch_replay(game, last);
  switch_music(game.music, "sfx\\end.wav");
}
