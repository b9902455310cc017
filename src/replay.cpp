#include "replay.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

const char* const MAGIC = "Brinegrab replay";
const char* const DATA_LINE = "data";
// Far beyond any game (a day of play): a header asking for more is hostile.
const unsigned long MOST_FRAMES = 24ul * 3600 * 25 * 4;
const size_t MOST_CARRIED = 256;

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
  if (errno != 0 || *end != '\0' || n < lowest || (n > 0 && static_cast<unsigned long>(n) > highest)) {
    return false;
  }
  value = static_cast<long>(n);
  return true;
}

std::string trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

const char* game_version() { return BRINEGRAB_VERSION; }

std::string replay_text(const REPLAY& r) {
  std::ostringstream head;
  head << MAGIC << "\n"
       << "version = " << r.version << "\n"
       << "format = " << r.format << "\n"
       << "mode = " << (r.multi ? "multi" : "solo") << "\n"
       << "speed = " << r.speed << "\n"
       << "seed = " << r.seed << "\n"
       << "draws = " << r.draws << "\n"
       << "carried =";
  for (int v : r.carried) head << " " << v;
  head << "\n"
       << "score = " << r.score << "\n"
       << "drains = " << r.drains << "\n"
       << "state = " << r.state << "\n"
       << "events = " << r.events.size() << "\n"
       << "frames = " << r.on_time.size() << "\n"
       << DATA_LINE << "\n";
  std::string out = head.str();
  // Events: the drains since the one before, then key and kind in one number.
  Uint32 last = 0;
  for (const REPLAY_EVENT& e : r.events) {
    put_varint(out, e.drain - last);
    put_varint(out, static_cast<unsigned long>(e.key) * 3 + static_cast<unsigned long>(e.kind));
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

bool parse_replay(const std::string& bytes, REPLAY& r, std::string& error) {
  r = REPLAY();
  r.format = 0;
  size_t at = 0;
  std::vector<std::string> lines;
  for (;;) {
    const size_t end = bytes.find('\n', at);
    if (end == std::string::npos || end - at > 4096) {
      error = "not a Brinegrab replay, or cut short before its data";
      return false;
    }
    const std::string line = bytes.substr(at, end - at);
    at = end + 1;
    if (line == DATA_LINE) break;
    lines.push_back(line);
  }
  if (lines.empty() || trim(lines[0]) != MAGIC) {
    error = "not a Brinegrab replay";
    return false;
  }
  long events = -1, frames = -1, n = 0;
  bool have_seed = false, have_draws = false, have_version = false;
  for (size_t i = 1; i < lines.size(); ++i) {
    const size_t eq = lines[i].find('=');
    if (eq == std::string::npos) continue;
    const std::string name = trim(lines[i].substr(0, eq));
    const std::string value = trim(lines[i].substr(eq + 1));
    bool ok = true;
    if (name == "version") {
      r.version = value;
      have_version = !value.empty() && value.size() < 64;
      ok = have_version;
    } else if (name == "format") {
      ok = to_number(value, 0, 1000000, n);
      r.format = static_cast<int>(n);
    } else if (name == "mode") {
      ok = value == "solo" || value == "multi";
      r.multi = value == "multi";
    } else if (name == "speed") {
      ok = to_number(value, 50, 100, n);
      r.speed = static_cast<int>(n);
    } else if (name == "seed") {
      ok = have_seed = to_number(value, 0, 0xffffffffu, n);
      r.seed = static_cast<unsigned>(n);
    } else if (name == "draws") {
      ok = have_draws = to_number(value, 0, 0xffffffffu, n);
      r.draws = static_cast<unsigned long>(n);
    } else if (name == "carried") {
      std::istringstream in(value);
      std::string word;
      while (ok && in >> word) {
        ok = r.carried.size() < MOST_CARRIED && to_number(word, -1000000, 1000000, n);
        r.carried.push_back(static_cast<int>(n));
      }
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
      ok = to_number(value, 0, MOST_FRAMES, events);
    } else if (name == "frames") {
      ok = to_number(value, 0, MOST_FRAMES, frames);
    }
    if (!ok) {
      error = "bad value in the replay's header: " + trim(lines[i]).substr(0, 80);
      return false;
    }
  }
  if (r.format != REPLAY_FORMAT || !have_version) return true;  // judged by replay_fits_build
  if (!have_seed || !have_draws || events < 0 || frames < 0) {
    error = "the replay's header lacks a field it needs";
    return false;
  }
  // Each event takes two bytes at least: a count beyond the data is a lie.
  if (static_cast<unsigned long>(events) > (bytes.size() - at) / 2) {
    error = "the replay is cut short in its events";
    return false;
  }
  Uint32 drain = 0;
  for (long i = 0; i < events; ++i) {
    unsigned long delta = 0, code = 0;
    if (!get_varint(bytes, at, delta) || !get_varint(bytes, at, code)) {
      error = "the replay is cut short in its events";
      return false;
    }
    if (delta > r.drains - drain || code / 3 > SDLK_LAST) {
      error = "the replay's events are corrupt";
      return false;
    }
    drain += static_cast<Uint32>(delta);
    REPLAY_EVENT e;
    e.drain = drain;
    e.kind = static_cast<REPLAY_KIND>(code % 3);
    e.key = static_cast<Uint16>(code / 3);
    r.events.push_back(e);
  }
  bool current = true;
  while (r.on_time.size() < static_cast<size_t>(frames)) {
    unsigned long run = 0;
    if (!get_varint(bytes, at, run)) {
      error = "the replay is cut short in its frames";
      return false;
    }
    if (run > static_cast<size_t>(frames) - r.on_time.size()) {
      error = "the replay's frames are corrupt";
      return false;
    }
    r.on_time.insert(r.on_time.end(), run, current);
    current = !current;
  }
  if (at != bytes.size() && !(frames == 0 && at + 1 == bytes.size())) {
    error = "the replay has bytes after its end";
    return false;
  }
  return true;
}

bool replay_fits_build(const REPLAY& r, std::string& error) {
  if (r.version == game_version() && r.format == REPLAY_FORMAT) return true;
  std::ostringstream why;
  why << "made by Brinegrab " << (r.version.empty() ? "of an unknown version" : r.version);
  if (r.format != REPLAY_FORMAT) why << " (replay format " << r.format << ")";
  why << ", this is " << game_version();
  if (r.format != REPLAY_FORMAT) why << " (replay format " << REPLAY_FORMAT << ")";
  error = why.str();
  return false;
}
