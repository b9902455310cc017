#include "replay_watch.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "controls.h"
#include "game_setup.h"
#include "globals.h"
#include "look.h"
#include "music.h"
#include "notice.h"
#include "overlays.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "platform/key_names.h"
#include "pause.h"
#include "platform/say.h"
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
const Uint32 DIVERGED_MS = 3000;
// The last picture stays this long after a replay has ended, unless a key comes first.
const Uint32 ENDED_MS = 3000;
// The band along the bottom of the picture.
const int BAND_MARGIN = 10;

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
  bool paused = false;
  bool ended = false;
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

// The watcher's band: the keys, and the speed or the pause; at the end only
// that the replay has ended.
void draw_band(SDL_Surface* frame) {
  TTF_Font* font = face(FACE::MARK);
  SDL_Rect band = {0, static_cast<decltype(SDL_Rect::y)>(frame->h - WATCH_BAND_HEIGHT),
                   static_cast<decltype(SDL_Rect::w)>(frame->w),
                   static_cast<decltype(SDL_Rect::h)>(WATCH_BAND_HEIGHT)};
  draw_panel(frame, band);
  int w = 0, h = 0;
  text_size(font, "0x", &w, &h);
  const int y = band.y + (WATCH_BAND_HEIGHT - h) / 2;
  if (watch.ended) {
    // fit: MARK 620
    draw_text(frame, font, tr("The replay has ended"), GOLD, 0, y, ALIGN::CENTRE);
    return;
  }
  // fit: MARK 500
  // The keys of whoever watches a replay, each key's name before the verb
  // that says what it does: {1} pauses ("Space"), {2} plays faster
  // ("Right"), {3} back at normal speed ("Left"), {4} stops watching
  // ("Escape").
  const std::string keys = fill(tr("{1} pause     {2} speed up     {3} reset speed     {4} stop"),
                                {tr(control(WATCH_PAUSE).shown), tr(control(WATCH_FASTER).shown),
                                 tr(control(WATCH_NORMAL).shown), tr(control(MENU_QUIT).shown)});
  draw_text(frame, font, keys, GOLD, BAND_MARGIN, y);
  const std::string speed = std::to_string(watch.speed);
  // fit: MARK 120
  // A replay paused, or watched, at {1} times its speed (1, 2, 4 or 8): a
  // state, not an action.
  const std::string state = fill(watch.paused ? tr("Paused   {1}x") : tr("Replay   {1}x"), {speed});
  draw_text(frame, font, state, GOLD, frame->w - BAND_MARGIN, y, ALIGN::RIGHT);
}

bool pauses(const SDL_Event& e) {
  return pressed(e, WATCH_PAUSE) || pressed(e, DESK_PAUSE) || pressed(e, DESK_PAUSE_KEY);
}

void set_speed(int speed) {
  watch.speed = speed;
  set_time_scale(speed);
}

// The watcher's own keys, read once a frame from the real keyboard. Space,
// P, Pause and a lost focus make one pause, which looks like the game's own
// with the band over it, and holds everything here until resumed.
void read_watch_keys(EVENT_SOURCE live) {
  SDL_Event e;
  std::optional<PAUSED_SCREEN> paused;
  do {
    bool changed = false;
    while (live(&e) != 0) {
      const bool before = changed;
      changed = true;
      if (e.type == SDL_QUIT || pressed(e, MENU_QUIT) ||
          (watch.any_key_stops && e.type == SDL_KEYDOWN)) {
        watch.stopping = true;
        watch.paused = false;
      } else if (pauses(e) || (watch.paused && pressed(e, MENU_NEXT))) {
        watch.paused = !watch.paused;
      } else if (loses_focus(e)) {
        watch.paused = true;
      } else if (pressed(e, WATCH_FASTER)) {
        set_speed(watch.speed >= FASTEST ? FASTEST : watch.speed * 2);
      } else if (pressed(e, WATCH_NORMAL)) {
        set_speed(1);
      } else {
        changed = before || e.type == SDL_VIDEOEXPOSE;
      }
    }
    if (watch.paused && !paused) paused.emplace();
    if (!watch.paused) paused.reset();
    if (paused) {
      if (changed) show_frame(screen);
      SDL_Delay(WATCH_PAUSE_STEP_MS);
    }
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
      *event = made_event(REPLAY_EVENT{0, REPLAY_KIND::KEY_DOWN,
                                       static_cast<Uint16>(key_number(key_of(MENU_QUIT)))});
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
  live(timer, frame_ms);
  const std::vector<bool>& on_time = watch.replay->on_time;
  if (watch.next_frame < on_time.size()) return on_time[watch.next_frame++];
  watch.overran = true;
  return true;
}

// The last picture of a replay played to its end stays, with the band saying
// so, until a key or ENDED_MS.
void hold_the_end() {
  watch.ended = true;
  show_frame(screen);
  SDL_Event e;
  for (Uint32 waited = 0; waited < ENDED_MS && !stop_requested(); waited += WAIT_STEP_MS) {
    bool key = false;
    while (poll_event(&e) != 0) key = key || e.type == SDL_KEYDOWN || e.type == SDL_QUIT;
    if (key) return;
    wait_ms(WAIT_STEP_MS);
  }
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
    say(tr("the replay is corrupt: its starting state is not one a game can have"));
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
  // The game is played again at its own speed, with its players' keys.
  const SETTINGS settings_before = current_settings();
  SETTINGS as_recorded = settings_before;
  as_recorded.speed = replay.speed;
  for (int a = 0; a < PLAYER_ACTIONS; ++a) as_recorded.keys[a] = replay.keys[a];
  use_settings(as_recorded);
  set_speed(1);
  prepare_before_mode(game);
  prepare_after_mode(game);
  {
    const EVENT_TAP_SCOPE events(play_event);
    const PACE_TAP_SCOPE pace(play_pace);
    set_watch_overlay(draw_band);
    pass_pauses(true);
    play_loop(game);
    pass_pauses(false);
  }
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
    const std::string scored = std::to_string(game.score);
    const std::string recorded = std::to_string(replay.score);
    // {1} is the score the replay reached, {2} the score of the game it recorded.
    say(fill(tr("this replay diverged from the game it recorded: it scored {1}, the recording {2}"),
             {scored, recorded}));
    // On the screen too, for a moment, for whoever watches full screen.
    const std::string said = fill(
        // fit: MARK 620
        // {1} is the score the replay reached, {2} the score of the game it recorded.
        tr("This replay no longer matches its game: it scored {1}, the game {2}"),
        {scored, recorded});
    set_watch_overlay(nullptr);
    hold_notice(said, "", DIVERGED_MS);
  } else if (!stopped) {
    hold_the_end();
  }
  set_watch_overlay(nullptr);
  put_back(game, saved);
  return stopped || same;
}

void watch_last_game(GAME& game) {
  if (last_replay().version.empty()) return;
  watch_replay(game, last_replay());
  switch_music(game.music, "sfx\\end.wav");
}
