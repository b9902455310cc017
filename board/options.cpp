#include "options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const USAGE =
    "Usage: brinegrab-board [--listen HOST:PORT] [--database PATH|postgresql://USER@HOST:PORT/DB]\n"
    "                       [--data DIR] [--game DIR] [--web DIR] [--checks N] [--queue N]\n"
    "                       [--check-seconds N] [--check-megabytes N] [--rate N]\n"
    "       brinegrab-board [--database ...] [--data DIR] --hide ID\n";

const char* const HELP =
    "The Brinegrab world board: every run sent to it is played again by the game\n"
    "itself (brinegrab --verify) and kept only when it plays to what it claims.\n"
    "\n"
    "  --listen HOST:PORT     where to answer (default 127.0.0.1:8600; port 0: any)\n"
    "  --database PATH        the SQLite file (default DATA/board.sqlite), or a\n"
    "                         PostgreSQL server: postgresql://USER@HOST:PORT/DB\n"
    "  --data DIR             the data directory (default\n"
    "                         $XDG_DATA_HOME/brinegrab-board, ~/.local/share/...)\n"
    "  --game DIR             the game's directory, holding brinegrab\n"
    "  --web DIR              the browser build, served at /play/ for Watch links\n"
    "  --checks N             runs checked at a time (default: one per core)\n"
    "  --queue N              runs waiting for a check before 503 (default 2 x checks)\n"
    "  --check-seconds N      wall and CPU seconds a check may take (default 30)\n"
    "  --check-megabytes N    memory a check may take (default 512)\n"
    "  --rate N               runs a minute from one address before 429 (default 30;\n"
    "                         0: no limit)\n"
    "  --hide ID              hide game ID from the board, then exit\n";

bool number(const char* text, long long lowest, long long highest, long long& out) {
  char* end = nullptr;
  const long long n = std::strtoll(text, &end, 10);
  if (*text == '\0' || *end != '\0' || n < lowest || n > highest) return false;
  out = n;
  return true;
}

}  // namespace

int parse_board_options(int argc, char* argv[], BOARD_OPTIONS& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(USAGE, stdout);
      std::fputs("\n", stdout);
      std::fputs(HELP, stdout);
      return 0;
    }
    if (i + 1 == argc) {
      std::fprintf(stderr, "brinegrab-board: unknown option or missing value: %s\n%s",
                   arg.c_str(), USAGE);
      return 2;
    }
    const char* value = argv[++i];
    long long n = 0;
    bool ok = true;
    if (arg == "--listen") {
      const std::string v = value;
      const size_t colon = v.rfind(':');
      ok = colon != std::string::npos && colon > 0 && number(value + colon + 1, 0, 65535, n);
      if (ok) {
        o.host = v.substr(0, colon);
        o.port = static_cast<int>(n);
      }
    } else if (arg == "--database") {
      o.database = value;
      ok = !o.database.empty();
    } else if (arg == "--data") {
      o.data = value;
      ok = !o.data.empty();
    } else if (arg == "--game") {
      o.game = value;
    } else if (arg == "--web") {
      o.web = value;
    } else if (arg == "--checks") {
      ok = number(value, 1, 256, n);
      o.checks = static_cast<int>(n);
    } else if (arg == "--queue") {
      ok = number(value, 0, 100000, n);
      o.queue = static_cast<int>(n);
    } else if (arg == "--check-seconds") {
      ok = number(value, 1, 3600, n);
      o.check_seconds = static_cast<int>(n);
    } else if (arg == "--check-megabytes") {
      ok = number(value, 64, 65536, n);
      o.check_megabytes = static_cast<int>(n);
    } else if (arg == "--rate") {
      ok = number(value, 0, 1000000, n);
      o.rate = static_cast<int>(n);
    } else if (arg == "--hide") {
      ok = number(value, 1, 1ll << 62, o.hide);
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "brinegrab-board: bad %s: %s\n%s", arg.c_str(), value, USAGE);
      return 2;
    }
  }
  return -1;
}

void settle_paths(BOARD_OPTIONS& o) {
  if (o.data.empty()) {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (xdg != nullptr && *xdg == '/') {
      o.data = std::string(xdg) + "/brinegrab-board";
    } else {
      o.data = std::string(home != nullptr && *home != '\0' ? home : ".") +
               "/.local/share/brinegrab-board";
    }
  }
  if (o.database.empty()) o.database = o.data + "/board.sqlite";
  if (o.game.empty()) o.game = BRINEGRAB_GAME_DIR;
}
