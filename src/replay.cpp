#include "replay.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "name_value.h"
#include "platform/catalog.h"
#include "platform/key_names.h"
#include "platform/quoted.h"
#include "platform/random_stream.h"

namespace {

const char* const MAGIC = "Brinegrab replay";
const char* const DATA_LINE = "data";
// A player's key: "key.p1.left = left".
const std::string KEY_PREFIX = "key.";
// Far beyond any game (a day of play): a header asking for more is hostile.
const unsigned long MOST_FRAMES = 24ul * 3600 * 25 * 4;
const size_t MOST_CARRIED = 256;
// Ten key presses and releases a second for a day of play.
const unsigned long MOST_EVENTS = 1ul << 20;
// This version writes some thirty header lines; a later one may add a few.
// More is no replay, and each kept line costs memory until "data".
const size_t MOST_HEADER_LINES = 1000;
// Watching draws the numbers again, a second per hundred million or so: more
// than days of play in one run would draw is hostile.
const unsigned long MOST_DRAWS = 100000000ul;
// An event is one byte when it can be: its kind, the key's place in the
// file's table of keys and the drains since the event before.
const unsigned TABLE_KEYS = 15;   // place 15: the key follows
const unsigned SHORT_DRAINS = 3;  // 3: the drains follow

// The keys of the events, most used first, as many as the table holds.
std::vector<Uint16> key_table(const std::vector<REPLAY_EVENT>& events) {
  std::vector<std::pair<long, Uint16>> counts;
  for (const REPLAY_EVENT& e : events) {
    if (e.kind == REPLAY_KIND::QUIT) continue;
    bool found = false;
    for (auto& c : counts) {
      if (c.second == e.key) {
        --c.first;
        found = true;
      }
    }
    if (!found) counts.push_back({-1, e.key});
  }
  std::stable_sort(counts.begin(), counts.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Uint16> table;
  for (size_t i = 0; i < counts.size() && i < TABLE_KEYS; ++i) table.push_back(counts[i].second);
  return table;
}

void put_varint(std::string& out, unsigned long value) {
  while (value >= 0x80) {
    out += static_cast<char>((value & 0x7f) | 0x80);
    value >>= 7;
  }
  out += static_cast<char>(value);
}

bool get_varint(const std::string& in, size_t& at, unsigned long& value) {
  value = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (at >= in.size()) return false;
    const unsigned long byte = static_cast<unsigned char>(in[at++]);
    value |= (byte & 0x7f) << shift;
    if ((byte & 0x80) == 0) return value <= 0xffffffffu;
  }
  return false;
}

bool to_number(const std::string& text, long lowest, unsigned long highest, long& value) {
  if (text.empty()) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long long n = std::strtoll(begin, &end, 10);
  if (errno != 0 || *end != '\0' || n < lowest ||
      (n > 0 && static_cast<unsigned long>(n) > highest)) {
    return false;
  }
  value = static_cast<long>(n);
  return true;
}

// A list of at most most numbers, each from lowest to highest.
template <typename T>
bool to_numbers(const std::string& text, size_t most, long lowest, unsigned long highest,
                std::vector<T>& out) {
  std::istringstream in(text);
  std::string word;
  long n = 0;
  while (in >> word) {
    if (out.size() >= most || !to_number(word, lowest, highest, n)) return false;
    out.push_back(static_cast<T>(n));
  }
  return true;
}

}  // namespace

RECORDED_GAME::RECORDED_GAME() : random(RANDOM_STREAM) {
  for (int a = 0; a < PLAYER_ACTIONS; ++a) keys[a] = control(static_cast<ACTION>(a)).key;
}

const char* game_version() { return BRINEGRAB_VERSION; }

std::string replay_text(const RECORDED_GAME& r) {
  std::ostringstream head;
  head << MAGIC << "\n"
       << "version = " << r.version << "\n"
       << "format = " << r.format << "\n"
       << "random = " << r.random << "\n"
       << "mode = " << (r.multi ? "multi" : "solo") << "\n"
       << "speed = " << r.speed << "\n";
  for (int a = 0; a < PLAYER_ACTIONS; ++a) {
    head << KEY_PREFIX << control(static_cast<ACTION>(a)).name << " = " << key_name(r.keys[a])
         << "\n";
  }
  head << "seed = " << r.seed << "\n"
       << "draws = " << r.draws << "\n"
       << "carried =";
  for (int v : r.carried) head << " " << v;
  head << "\n"
       << "score = " << r.score << "\n"
       << "drains = " << r.drains << "\n"
       << "state = " << r.state << "\n"
       << "events = " << r.events.size() << "\n"
       << "frames = " << r.on_time.size() << "\n"
       << "keys =";
  const std::vector<Uint16> table = key_table(r.events);
  for (Uint16 key : table) head << " " << key;
  head << "\n" << DATA_LINE << "\n";
  std::string out = head.str();
  Uint32 last = 0;
  for (const REPLAY_EVENT& e : r.events) {
    const Uint32 drains = e.drain - last;
    const size_t place = std::find(table.begin(), table.end(), e.key) - table.begin();
    const unsigned in_table = e.kind == REPLAY_KIND::QUIT ? 0 : static_cast<unsigned>(place);
    const unsigned short_drains = drains < SHORT_DRAINS ? drains : SHORT_DRAINS;
    out += static_cast<char>(static_cast<unsigned>(e.kind) << 6 | in_table << 2 | short_drains);
    if (in_table == TABLE_KEYS) put_varint(out, e.key);
    if (short_drains == SHORT_DRAINS) put_varint(out, drains);
    last = e.drain;
  }
  // Verdicts: the lengths of the runs of frames on time and late, in turn,
  // beginning with a run on time (perhaps empty).
  bool current = true;
  unsigned long run = 0;
  for (bool v : r.on_time) {
    if (v != current) {
      put_varint(out, run);
      current = v;
      run = 0;
    }
    ++run;
  }
  put_varint(out, run);
  return out;
}

bool parse_replay(const std::string& bytes, RECORDED_GAME& r, std::string& error) {
  r = RECORDED_GAME();
  r.format = 0;
  r.random = RANDOM_STREAM;
  size_t at = 0;
  std::vector<std::string> lines;
  for (;;) {
    const size_t end = bytes.find('\n', at);
    if (end == std::string::npos || end - at > 4096 || lines.size() >= MOST_HEADER_LINES) {
      error = tr("not a Brinegrab replay, or cut short before its data");
      return false;
    }
    const std::string line = bytes.substr(at, end - at);
    at = end + 1;
    if (line == DATA_LINE) break;
    lines.push_back(line);
  }
  if (lines.empty() || trim(lines[0]) != MAGIC) {
    error = tr("not a Brinegrab replay");
    return false;
  }
  long events = -1, frames = -1, n = 0;
  std::vector<Uint16> table;
  bool have_seed = false, have_draws = false, have_version = false;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string name, value;
    if (!split_name_value(lines[i], name, value)) continue;
    bool ok = true;
    if (name == "version") {
      // Said back to the player: printable, short.
      r.version = value;
      have_version = !value.empty() && value.size() < 64 &&
                     value.find_first_not_of(
                         "0123456789abcdefghijklmnopqrstuvwxyz"
                         "ABCDEFGHIJKLMNOPQRSTUVWXYZ.+-~_") == std::string::npos;
      ok = have_version;
      if (!ok) r.version.clear();
    } else if (name == "format") {
      ok = to_number(value, 0, 1000000, n);
      r.format = static_cast<int>(n);
    } else if (name == "random") {
      // Said back to the player too: a short word.
      ok = !value.empty() && value.size() < 32 &&
           value.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-") == std::string::npos;
      if (ok) r.random = value;
    } else if (name == "mode") {
      ok = value == "solo" || value == "multi";
      r.multi = value == "multi";
    } else if (name == "speed") {
      ok = to_number(value, 50, 100, n);
      r.speed = static_cast<int>(n);
    } else if (name.rfind(KEY_PREFIX, 0) == 0) {
      ok = false;
      const SDLKey key = key_named(value);
      for (int a = 0; a < PLAYER_ACTIONS && key != SDLK_UNKNOWN; ++a) {
        if (name.compare(KEY_PREFIX.size(), std::string::npos,
                         control(static_cast<ACTION>(a)).name) == 0) {
          r.keys[a] = key;
          ok = true;
        }
      }
    } else if (name == "seed") {
      ok = have_seed = to_number(value, 0, 0xffffffffu, n);
      r.seed = static_cast<unsigned>(n);
    } else if (name == "draws") {
      ok = have_draws = to_number(value, 0, MOST_DRAWS, n);
      r.draws = static_cast<unsigned long>(n);
    } else if (name == "carried") {
      ok = to_numbers(value, MOST_CARRIED, -1000000, 1000000, r.carried);
    } else if (name == "keys") {
      ok = to_numbers(value, TABLE_KEYS, 0, KEY_NUMBERS, table);
    } else if (name == "score") {
      ok = to_number(value, 0, 0x7fffffff, n);
      r.score = static_cast<int>(n);
    } else if (name == "drains") {
      ok = to_number(value, 0, MOST_FRAMES, n);
      r.drains = static_cast<Uint32>(n);
    } else if (name == "state") {
      ok = to_number(value, 0, 0xffffffffu, n);
      r.state = static_cast<Uint32>(n);
    } else if (name == "events") {
      ok = to_number(value, 0, MOST_EVENTS, events);
    } else if (name == "frames") {
      ok = to_number(value, 0, MOST_FRAMES, frames);
    }
    if (!ok) {
      // {1} is a line of the replay file.
      error = fill(tr("bad value in the replay's header: {1}"), {quoted(trim(lines[i]), 80)});
      return false;
    }
  }
  if (!have_version) {
    error = tr("the replay does not say which version made it");
    return false;
  }
  if (r.format != REPLAY_FORMAT) return true;  // judged by replay_fits_build
  if (!have_seed || !have_draws || events < 0 || frames < 0) {
    error = tr("the replay's header lacks a field it needs");
    return false;
  }
  // Each event takes a byte at least: a count beyond the data is a lie.
  if (static_cast<unsigned long>(events) > bytes.size() - at) {
    error = tr("the replay is cut short in its events");
    return false;
  }
  r.events.reserve(static_cast<size_t>(events));
  Uint32 drain = 0;
  for (long i = 0; i < events; ++i) {
    if (at >= bytes.size()) {
      error = tr("the replay is cut short in its events");
      return false;
    }
    const unsigned byte = static_cast<unsigned char>(bytes[at++]);
    const unsigned kind = byte >> 6, place = (byte >> 2) & 0xf;
    unsigned long key = place < table.size() ? table[place] : 0, delta = byte & 3;
    if ((place == TABLE_KEYS && !get_varint(bytes, at, key)) ||
        (delta == SHORT_DRAINS && !get_varint(bytes, at, delta))) {
      error = tr("the replay is cut short in its events");
      return false;
    }
    const bool known = kind == 2 ? place == 0 : place < table.size() || place == TABLE_KEYS;
    if (kind > 2 || !known || key > KEY_NUMBERS || delta > r.drains - drain) {
      error = tr("the replay's events are corrupt");
      return false;
    }
    drain += static_cast<Uint32>(delta);
    REPLAY_EVENT e;
    e.drain = drain;
    e.kind = static_cast<REPLAY_KIND>(kind);
    e.key = kind == 2 ? 0 : static_cast<Uint16>(key);
    r.events.push_back(e);
  }
  bool current = true;
  while (r.on_time.size() < static_cast<size_t>(frames)) {
    unsigned long run = 0;
    if (!get_varint(bytes, at, run)) {
      error = tr("the replay is cut short in its frames");
      return false;
    }
    if (run > static_cast<size_t>(frames) - r.on_time.size()) {
      error = tr("the replay's frames are corrupt");
      return false;
    }
    r.on_time.insert(r.on_time.end(), run, current);
    current = !current;
  }
  if (at != bytes.size() && !(frames == 0 && at + 1 == bytes.size())) {
    error = tr("the replay has bytes after its end");
    return false;
  }
  return true;
}

bool replay_fits_build(const RECORDED_GAME& r, std::string& error) {
  if (r.version == game_version() && r.format == REPLAY_FORMAT) {
    if (r.random == RANDOM_STREAM) return true;
    // The same seed would draw other numbers: another game would be played.
    error = fill(other_stream_text(), {r.random});
    return false;
  }
  // Stands for the version in the two texts below ("Brinegrab (version
  // unknown)"), when the file names none.
  const std::string theirs = r.version.empty() ? tr("(version unknown)") : r.version;
  if (r.format == REPLAY_FORMAT) {
    // Why a replay cannot be watched: {1} is the version of the game that
    // recorded it ("1.4.0", or "(version unknown)"), {2} this game's version.
    error = fill(tr("made by Brinegrab {1}; this game is Brinegrab {2}"), {theirs, game_version()});
  } else {
    // Why a replay cannot be watched: {1} is the version of the game that
    // recorded it ("1.4.0", or "(version unknown)"), {2} the format of
    // its file (a number), {3} this game's version, {4} this game's format.
    error = fill(tr("made by Brinegrab {1} (replay format {2}); this game is Brinegrab {3} (replay "
                    "format {4})"),
                 {theirs, std::to_string(r.format), game_version(), std::to_string(REPLAY_FORMAT)});
  }
  return false;
}
