// libFuzzer target for the replay file: whatever the bytes, the reader
// returns (never crashes, never hangs, never asks for memory beyond the
// file's size), says why when it refuses in one line where any text of the
// file is quoted (replays come from other people), and a replay it accepts
// is written back to the same bytes' meaning: writing and reading again
// gives the same replay. Built by the fuzz preset, run by scripts/fuzz.
#include <cstddef>
#include <cstdint>
#include <string>

#include "checks.h"
#include "replay.h"

namespace {

bool same(const RECORDED_GAME& a, const RECORDED_GAME& b) {
  for (int k = 0; k < PLAYER_ACTIONS; ++k) {
    if (a.keys[k] != b.keys[k]) return false;
  }
  return a.version == b.version && a.format == b.format && a.multi == b.multi &&
         a.speed == b.speed && a.seed == b.seed && a.draws == b.draws && a.carried == b.carried &&
         a.events == b.events && a.on_time == b.on_time && a.score == b.score &&
         a.drains == b.drains && a.state == b.state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  RECORDED_GAME replay;
  std::string error;
  if (!parse_replay(bytes, replay, error)) {
    require(clean_line(error));
    return 0;
  }
  // Events and verdicts come from the bytes: never more than they can hold.
  require(replay.events.size() <= size);
  if (replay.format != REPLAY_FORMAT) return 0;
  RECORDED_GAME again;
  require(parse_replay(replay_text(replay), again, error));
  require(same(replay, again));
  return 0;
}
