#include "replay_session.h"

#include "platform/events.h"
#include "platform/key_names.h"
#include "play_loop.h"
#include "random.h"
#include "replay_state.h"
#include "settings.h"

namespace {

RECORDED_GAME recording;
RECORDED_GAME last;

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

}  // namespace

REPLAY_START replay_start(GAME& game) {
  return REPLAY_START{carried_state(game), rand_seed(), rand_draws()};
}

RECORDING::RECORDING(GAME& game, const REPLAY_START& begin)
    : game_(game), events_(record_event), pace_(record_pace) {
  recording = RECORDED_GAME();
  recording.version = game_version();
  recording.multi = game.multi;
  recording.speed = current_settings().speed;
  for (int a = 0; a < PLAYER_ACTIONS; ++a) recording.keys[a] = current_settings().keys[a];
  recording.seed = begin.seed;
  recording.draws = begin.draws;
  recording.carried = begin.carried;
}

void RECORDING::stop() {
  if (stopped_) return;
  stopped_ = true;
  events_.restore();
  pace_.restore();
  recording.score = game_.score;
  recording.state = state_hash(game_);
  last = recording;
}

bool play_recorded(GAME& game, const REPLAY_START& begin) {
  RECORDING recorded(game, begin);
  play_loop(game);
  recorded.stop();
  // A slowed-down game is not measured against the others.
  return keep_game(last, !assisted());
}

const RECORDED_GAME& last_replay() { return last; }
