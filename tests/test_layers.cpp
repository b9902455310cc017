// The house's floors, read from the sources' own includes: each rule names
// the files it holds for and the includes they must not have. A file of
// src/ is one room with its header, and no room includes one that
// includes it back, however far round.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

namespace {

namespace fs = std::filesystem;

const std::string SOURCE = BRINEGRAB_SOURCE_DIR;

// One include of a file of the tree: who includes, and what (both as paths
// from the project's root).
struct INCLUDE {
  std::string from, to;
};

bool is_source(const fs::path& p) {
  const std::string ext = p.extension().string();
  return ext == ".cpp" || ext == ".h";
}

std::string from_root(const fs::path& p) { return fs::relative(p, SOURCE).generic_string(); }

// Every quoted include of every C++ file under the folders given, resolved
// as the compiler does: beside the file first, then from src/.
std::vector<INCLUDE> includes_under(const std::vector<std::string>& folders) {
  const std::regex own_include("^#include \"([^\"]*)\"");
  std::vector<INCLUDE> found;
  for (const std::string& folder : folders) {
    for (const auto& entry : fs::recursive_directory_iterator(SOURCE + "/" + folder)) {
      if (!entry.is_regular_file() || !is_source(entry.path())) continue;
      std::istringstream text(harness::file_text(entry.path().string()));
      std::smatch include;
      for (std::string line; std::getline(text, line);) {
        if (!std::regex_search(line, include, own_include)) continue;
        const fs::path beside = entry.path().parent_path() / include[1].str();
        const fs::path in_src = fs::path(SOURCE) / "src" / include[1].str();
        const fs::path to = fs::exists(beside) ? beside : in_src;
        if (fs::exists(to)) found.push_back({from_root(entry.path()), from_root(to)});
      }
    }
  }
  return found;
}

bool matches(const std::string& path, const char* pattern) {
  return std::regex_match(path, std::regex(pattern));
}

// What a file may not include. Patterns are whole paths from the project's root.
struct RULE {
  const char* says;
  const char* files;      // the files the rule holds for
  const char* forbidden;  // what they must not include
};

const char* const SCREENS =
    "src/(game|game_state|screens|play_loop|game_over|settings_screen|replay_watch|"
    "replay_session|attract_mode|game_setup)\\.h";

const RULE RULES[] = {
    {"the platform includes nothing of the game", "src/platform/.*", "(?!src/platform/).*"},
    // verify.cpp is the entry of --verify, which main hands a run's replays.
    {"only the entry point, the benchmark and the tests include game.h",
     "src/(?!main\\.cpp$|game\\.cpp$|verify\\.cpp$|platform/web/main\\.cpp$).*",
     "src/game\\.h"},
    {"the mini-games include no screen", "src/minigames/.*", SCREENS},
    {"the game's objects stand below the run's state",
     "src/(pirate|cannonball|coin|pickup|treasure|timer|look|text|image|sound|music)\\.(h|cpp)",
     SCREENS},
};

TEST(LAYERS, NoFileIncludesWhatItsFloorForbids) {
  const std::vector<INCLUDE> all = includes_under({"src", "bench", "fuzz", "fonts"});
  ASSERT_GT(all.size(), 100u);
  for (const RULE& rule : RULES) {
    int held = 0;
    for (const INCLUDE& i : all) {
      if (!matches(i.from, rule.files)) continue;
      ++held;
      EXPECT_FALSE(matches(i.to, rule.forbidden))
          << rule.says << ": " << i.from << " includes " << i.to;
    }
    EXPECT_GT(held, 0) << rule.says << ": no file of " << rule.files;
  }
}

// A source's room is its header's (src/look.cpp and src/look.h are one);
// a file without a header of its name is a room of its own.
std::string room_of(const std::string& path) {
  const fs::path p(path);
  return (p.parent_path() / p.stem()).generic_string();
}

TEST(LAYERS, NoRoomIncludesItself) {
  std::map<std::string, std::set<std::string>> arrows;
  for (const INCLUDE& i : includes_under({"src"})) {
    if (room_of(i.from) != room_of(i.to)) arrows[room_of(i.from)].insert(room_of(i.to));
  }
  // Depth-first: a room met again while it is still being walked closes a circle.
  std::map<std::string, int> state;  // 1 being walked, 2 done
  std::vector<std::string> path;
  std::function<void(const std::string&)> walk = [&](const std::string& room) {
    state[room] = 1;
    path.push_back(room);
    for (const std::string& next : arrows[room]) {
      if (state[next] == 1) {
        std::string circle;
        for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it) {
          circle += *it + " -> ";
        }
        ADD_FAILURE() << "a circle of includes: " << circle << next;
      } else if (state[next] == 0) {
        walk(next);
      }
    }
    path.pop_back();
    state[room] = 2;
  };
  for (const auto& [room, unused] : arrows) {
    if (state[room] == 0) walk(room);
  }
  EXPECT_GT(arrows.size(), 40u);
}

}  // namespace
