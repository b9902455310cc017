#include "verify.h"

#include <SDL.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game.h"
#include "game_setup.h"
#include "globals.h"
#include "languages.h"
#include "platform/events.h"
#include "platform/file_problem.h"
#include "platform/key_names.h"
#include "platform/random_stream.h"
#include "platform/regular_file.h"
#include "platform/time_scale.h"
#include "play_loop.h"
#include "random.h"
#include "replay.h"
#include "replay_state.h"
#include "settings.h"

namespace {

// As a replay file the game watches; a run is at most this many games.
const size_t MOST_FILE_BYTES = 16u << 20;
const size_t MOST_GAMES = 1000;
// Every wait of the game becomes no wait (platform/scaled_delay.cpp divides by it).
const int NO_WAITS = 1 << 30;

// One game played from its recording: its events at their drains of the
// queue, its frames' verdicts, and Escape once a drain should the game go on
// past its end, so that every loop leaves.
struct PLAYBACK {
  const RECORDED_GAME* replay = nullptr;
  size_t next_event = 0;
  size_t next_frame = 0;
  Uint32 drain = 0;
  bool overran = false;
  bool escape_given = false;
};
PLAYBACK playback;

SDL_Event made_event(REPLAY_KIND kind, Uint16 key) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  if (kind == REPLAY_KIND::QUIT) {
    e.type = SDL_QUIT;
    return e;
  }
  e.type = kind == REPLAY_KIND::KEY_DOWN ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.type = e.type;
  e.key.state = kind == REPLAY_KIND::KEY_DOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key_of_number(key);
  return e;
}

// Nothing live reaches the game: no keyboard, no window, no pause.
int recorded_event(SDL_Event* event, EVENT_SOURCE) {
  if (playback.overran) {
    playback.escape_given = !playback.escape_given;
    if (!playback.escape_given) return 0;
    *event = made_event(REPLAY_KIND::KEY_DOWN, static_cast<Uint16>(key_number(key_of(MENU_QUIT))));
    return 1;
  }
  const std::vector<REPLAY_EVENT>& events = playback.replay->events;
  if (playback.next_event < events.size() && events[playback.next_event].drain == playback.drain) {
    const REPLAY_EVENT& e = events[playback.next_event++];
    *event = made_event(e.kind, e.key);
    return 1;
  }
  ++playback.drain;
  if (playback.drain > playback.replay->drains) playback.overran = true;
  return 0;
}

// The frame's verdict as recorded, without its wait.
bool recorded_pace(TIMER&, int, FRAME_PACER) {
  const std::vector<bool>& on_time = playback.replay->on_time;
  if (playback.next_frame < on_time.size()) return on_time[playback.next_frame++];
  playback.overran = true;
  return true;
}

// Where a game begins.
struct START {
  unsigned seed = 0;
  unsigned long draws = 0;
  std::vector<int> carried;
  bool operator==(const START& o) const {
    return seed == o.seed && draws == o.draws && carried == o.carried;
  }
};

START start_of(const RECORDED_GAME& r) { return START{r.seed, r.draws, r.carried}; }
START where_now(GAME& game) { return START{rand_seed(), rand_draws(), carried_state(game)}; }

std::string json_text(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04x", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// FNV-1a, 64 bits.
unsigned long long digest(const std::string& bytes) {
  unsigned long long hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

void refuse(std::FILE* out, const std::string& reason) {
  std::fprintf(out, "{\"ok\":false,\"reason\":%s}\n", json_text(reason).c_str());
}

// The games of the files, in order; a file that cannot be read or split
// ends the list with its reason.
struct READ_GAMES {
  std::vector<RECORDED_GAME> games;
  std::vector<size_t> lengths;  // of each game's bytes in its file
  std::string error;  // why the list ends early, if it does
};

bool fits(const RECORDED_GAME& r, std::string& error) {
  if (r.format != REPLAY_FORMAT || r.version != game_version()) {
    const std::string theirs = r.version.empty() ? "an unknown version" : r.version;
    error = "made by Brinegrab " + theirs;
    if (r.format != REPLAY_FORMAT) error += " (replay format " + std::to_string(r.format) + ")";
    error += "; this board plays " + std::string(game_version());
    if (r.format != REPLAY_FORMAT) error += " (replay format " + std::to_string(REPLAY_FORMAT) + ")";
    return false;
  }
  if (r.random != RANDOM_STREAM) {
    error = "drawn from the random numbers of " + r.random + "; this board plays " +
            RANDOM_STREAM + "'s";
    return false;
  }
  return true;
}

READ_GAMES read_games(int count, char* files[]) {
  READ_GAMES read;
  for (int f = 0; f < count; ++f) {
    std::string bytes;
    int why = 0;
    const READ_RESULT got = read_regular_file(files[f], MOST_FILE_BYTES, bytes, why);
    if (got != READ_RESULT::WHOLE) {
      read.error = std::string(files[f]) + ": " + read_problem(got, why);
      return read;
    }
    size_t at = 0;
    do {
      if (read.games.size() == MOST_GAMES) {
        read.error = "more than " + std::to_string(MOST_GAMES) + " games in one run";
        return read;
      }
      RECORDED_GAME game;
      size_t used = bytes.size() - at;
      const std::string rest = bytes.substr(at);
      if (!parse_replay(rest, game, read.error, &used)) {
        std::string whose;
        if (!game.version.empty() && !fits(game, whose)) read.error = whose;
        return read;
      }
      if (!fits(game, read.error)) return read;
      read.games.push_back(std::move(game));
      read.lengths.push_back(used);
      at += used;
    } while (at < bytes.size());
  }
  return read;
}

// Plays one game from where the game stands now; false with the reason when
// the play does not reach what the recording claims.
bool play(GAME& game, const RECORDED_GAME& r, std::string& reason) {
  game.multi = r.multi;
  game.score = 0;
  quit = false;
  start = false;
  SETTINGS as_recorded;
  as_recorded.speed = r.speed;
  for (int a = 0; a < PLAYER_ACTIONS; ++a) as_recorded.keys[a] = r.keys[a];
  use_settings(as_recorded);
  playback = PLAYBACK();
  playback.replay = &r;
  prepare_before_mode(game);
  prepare_after_mode(game);
  const EVENT_TAP events_before = set_event_tap(recorded_event);
  const PACE_TAP pace_before = set_pace_tap(recorded_pace);
  play_loop(game);
  set_event_tap(events_before);
  set_pace_tap(pace_before);

  const Uint32 state = state_hash(game);
  if (playback.overran) {
    reason = "the game goes on past the end of its recording";
  } else if (playback.drain != r.drains) {
    reason = "the game ends after " + std::to_string(playback.drain) +
             " frames; the recording says " + std::to_string(r.drains);
  } else if (playback.next_event != r.events.size()) {
    reason = "the game ends before " + std::to_string(r.events.size() - playback.next_event) +
             " of its recorded keys";
  } else if (playback.next_frame != r.on_time.size()) {
    reason = "the game ends before its last recorded frames";
  } else if (game.score != r.score) {
    reason = "the game scores " + std::to_string(game.score) + "; the recording says " +
             std::to_string(r.score);
  } else if (state != r.state) {
    reason = "the game ends in state " + std::to_string(state) + "; the recording says " +
             std::to_string(r.state);
  } else {
    return true;
  }
  return false;
}

// Why a game's start is not the one the run reached, naming what differs.
std::string start_problem(const START& claimed, const START& reached, bool first) {
  std::string what;
  if (claimed.seed != reached.seed) {
    what = "its seed";
  } else if (claimed.draws != reached.draws) {
    what = "its count of random numbers drawn before it";
  } else {
    what = "what it carries over from the games before it";
  }
  return what + (first ? " is not where the game's start-up leaves its seed"
                       : " is not where the game before it ended");
}

}  // namespace

int verify_replays(int count, char* files[], std::FILE* out) {
  // The board's words are English, whatever the machine's language.
  setenv("LC_ALL", "C", 1);
  unsetenv("LANGUAGE");
  speak("");
  if (count < 1) {
    std::fprintf(stderr, "brinegrab: --verify needs a FILE\n");
    return 2;
  }
  const READ_GAMES read = read_games(count, files);
  bool all = true;
  if (!read.games.empty()) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    set_time_scale(NO_WAITS);
    seed_rand(read.games.front().seed);
    GAME game;
    if (!start_up(game)) {
      refuse(out, "the board cannot start the game");
      return 1;
    }
    speak("");
    // The game draws on a single pixel off the display: the same rules, each
    // picture clipped away before a pixel of it is drawn.
    SDL_Surface* const shown = screen;
    const SDL_PixelFormat* f = shown->format;
    screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, f->BitsPerPixel, f->Rmask, f->Gmask,
                                  f->Bmask, f->Amask);
    // A run's first game begins as start-up leaves it, or once the title
    // has placed the ruby and the ghost.
    START reached = where_now(game);
    for (size_t i = 0; i < read.games.size(); ++i) {
      const RECORDED_GAME& r = read.games[i];
      if (!all) {
        refuse(out, "a game before it in the run was refused");
        continue;
      }
      START nearest = reached;
      if (i == 0 && !(start_of(r) == reached)) {
        game.myRuby->replace();
        game.myGPIRATE->replace();
        reached = where_now(game);
        if (r.draws != nearest.draws) nearest = reached;
      }
      std::string reason;
      if (!(start_of(r) == reached)) {
        reason = start_problem(start_of(r), nearest, i == 0);
      } else if (play(game, r, reason)) {
        std::fprintf(out, "{\"ok\":true,\"mode\":\"%s\",\"score\":%d,\"frames\":%u,\"state\":%u",
                     r.multi ? "multi" : "solo", game.score, playback.drain, state_hash(game));
        // Which game it is, whatever its file says besides the game (the
        // same game sent again is the same one), and its length in its file.
        std::fprintf(out, ",\"game\":\"%016llx\",\"bytes\":%zu", digest(replay_text(r)),
                     read.lengths[i]);
        if (r.speed != 100) std::fprintf(out, ",\"speed\":%d", r.speed);
        std::fputs("}\n", out);
        reached = where_now(game);
        continue;
      }
      refuse(out, reason);
      all = false;
    }
    SDL_FreeSurface(screen);
    screen = shown;
  }
  if (!read.error.empty()) {
    refuse(out, read.error);
    all = false;
  }
  const int status = std::fflush(out) == 0 && all ? 0 : 1;
  // Closing the libraries would only wait for the audio device's thread to
  // finish its buffer (a fifth of a second): the process ends here.
  std::fflush(stderr);
  _exit(status);
}
