#include "attract_mode.h"

#include <string>

#include "controls.h"
#include "music.h"
#include "platform/events.h"
#include "platform/gamepad.h"
#include "replay_files.h"
#include "replay_watch.h"

namespace {

// The attract mode: 30 s of title screens without a key.
const Uint32 ATTRACT_DRAINS = 30 * 1000 / 40;
bool attract_on = false;
Uint32 idle_drains = 0;
bool due_now = false;
bool escape_given = false;
RECORDED_GAME best;

// The best game kept, of either mode: the one with the higher score.
bool best_kept(RECORDED_GAME& found) {
  std::string unused;
  return load_best_kept(found, unused, true);
}

int attract_event(SDL_Event* event, EVENT_SOURCE live) {
  if (due_now) {
    // As a stop signal does: one Escape per drain, so the screen leaves.
    escape_given = !escape_given;
    if (!escape_given) return 0;
    *event = key_event(SDL_KEYDOWN, key_of(MENU_QUIT));
    return 1;
  }
  const int got = live(event);
  if (got != 0) {
    if (event->type == SDL_KEYDOWN) idle_drains = 0;
    return got;
  }
  if (++idle_drains >= ATTRACT_DRAINS) {
    idle_drains = 0;
    due_now = best_kept(best);
  }
  return 0;
}

}  // namespace

void use_attract_mode(bool on) { attract_on = on; }

ATTRACT_SCOPE::ATTRACT_SCOPE() {
  due_now = false;
  if (!attract_on) return;
  idle_drains = 0;
  escape_given = false;
  tap_.emplace(attract_event);
}

ATTRACT_SCOPE::~ATTRACT_SCOPE() = default;

bool ATTRACT_SCOPE::due() const { return due_now; }

void play_attract(GAME& game) {
  any_key_stops_watching(true);
  watch_replay(game, best);
  any_key_stops_watching(false);
  best = RECORDED_GAME();
  switch_music(game.music, "sfx\\open.wav");
}
