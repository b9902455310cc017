#include "replay_watch.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "game_setup.h"
#include "globals.h"
#include "music.h"
#include "platform/events.h"
#include "platform/signals.h"
#include "platform/time_scale.h"
#include "play_loop.h"
#include "random.h"
#include "replay_session.h"
#include "replay_state.h"
#include "settings.h"
#include "text.h"

namespace {

const int FASTEST = 8;
const Uint32 WATCH_PAUSE_STEP_MS = 40;
const SDL_Color MARK_COLOUR = {100, 50, 10, 0};
const Uint32 DIVERGED_MS = 3000;

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
  e.key.keysym.sym = static_cast<SDLKey>(r.key);
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

}  // namespace

void any_key_stops_watching(bool on) { watch.any_key_stops = on; }

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
  if (last_replay().version.empty()) return;
  watch_replay(game, last_replay());
  switch_music(game.music, "sfx\\end.wav");
}
