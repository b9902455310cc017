#include "attract_mode.h"

#include <string>

#include "music.h"
#include "platform/events.h"
#include "platform/records_location.h"
#include "replay_files.h"
#include "replay_watch.h"

namespace {

// The attract mode: 30 s of title screens without a key.
const Uint32 ATTRACT_DRAINS = 30 * 1000 / 40;
bool attract_on = false;
GAME* attract_game = nullptr;
Uint32 idle_drains = 0;

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
    any_key_stops_watching(true);
    watch_replay(*attract_game, best);
    any_key_stops_watching(false);
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
