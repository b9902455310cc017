// The replay suite: every recorded game of tests/replays/ plays again, headless
// on the virtual clock, to the final score, frame count and state it
// recorded; together they reach every part of the game. When a rule changes on
// purpose, scripts/rerecord-replays records them again and names those that changed.
#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "game_fixture.h"
#include "random.h"
#include "replay.h"
#include "replay_features.h"
#include "replay_watch.h"

namespace {

std::vector<std::string> replay_files() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(REPLAY_DIR)) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > 7 && name.compare(name.size() - 7, 7, ".replay") == 0) {
        names.push_back(name);
      }
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// What each recorded game must reach, by its file's name; together they
// reach every part of the game.
struct EXPECTED {
  const char* name;
  unsigned features;
};
const EXPECTED EXPECTED_FEATURES[] = {
    {"solo-hits", SOLO | ENDED_BY_HITS},
    {"solo-escape-chest", SOLO | ENDED_BY_ESCAPE | CHEST_OPENED},
    {"solo-ruby", SOLO | RUBY_TAKEN},
    {"solo-ghost", SOLO | GHOST_PASS},
    {"solo-five-minutes", SOLO | LONG_FAST},
    {"multi-trap-run", MULTI | TRAP_RUN},
    {"multi-treasure-boxes", MULTI | TREASURE_BOXES},
    {"multi-cannonball-rows", MULTI | CANNON_ROWS},
    {"multi-sword-fight", MULTI | SWORD_FIGHT},
    {"multi-hits", MULTI | ENDED_BY_HITS},
    {"multi-second-game", MULTI | ENDED_BY_ESCAPE},
};

unsigned expected_features(const std::string& file) {
  for (const EXPECTED& e : EXPECTED_FEATURES) {
    if (file == std::string(e.name) + ".replay") return e.features;
  }
  return 0;
}

class REPLAY_SUITE : public GAME_TEST, public ::testing::WithParamInterface<std::string> {};

TEST_P(REPLAY_SUITE, PlaysAgainToItsRecordedEndAndReachesWhatItsNameSays) {
  const std::string path = std::string(REPLAY_DIR) + "/" + GetParam();
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RECORDED_GAME replay;
  std::string error;
  ASSERT_TRUE(parse_replay(bytes, replay, error)) << error;
  ASSERT_EQ(replay.format, REPLAY_FORMAT);
  harness::set_limits(60u * 60 * 1000, 1000000);
  FEATURE_WATCH features(game);
  features.begin();
  harness::on_every_flip([&](int) { features.look(); });
  // The game draws off the display: the same pixels, without the cost of
  // showing them, so the set replays in seconds.
  SDL_Surface* const shown = screen;
  const SDL_PixelFormat* f = shown->format;
  screen = SDL_CreateRGBSurface(SDL_SWSURFACE, shown->w, shown->h, f->BitsPerPixel, f->Rmask,
                                f->Gmask, f->Bmask, f->Amask);
  REPLAY_END end;
  EXPECT_TRUE(watch_replay(game, replay, &end));
  SDL_FreeSurface(screen);
  screen = shown;
  EXPECT_EQ(end.score, replay.score);
  EXPECT_EQ(end.drains, replay.drains);
  EXPECT_EQ(end.state, replay.state);
  const unsigned wanted = expected_features(GetParam());
  const unsigned seen = features.finish(replay.multi, replay.drains);
  EXPECT_EQ(seen & wanted, wanted) << "missing: " << feature_names(wanted & ~seen);
}

INSTANTIATE_TEST_SUITE_P(RECORDED, REPLAY_SUITE, ::testing::ValuesIn(replay_files()),
                         [](const ::testing::TestParamInfo<std::string>& file) {
                           std::string name = file.param.substr(0, file.param.size() - 7);
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

TEST(REPLAY_SET, HoldsTheGamesThatTogetherReachEveryPartOfTheGame) {
  const std::vector<std::string> files = replay_files();
  unsigned all = 0;
  for (const EXPECTED& e : EXPECTED_FEATURES) {
    EXPECT_NE(std::find(files.begin(), files.end(), std::string(e.name) + ".replay"), files.end())
        << e.name << ".replay is missing";
    all |= e.features;
  }
  EXPECT_GE(files.size(), 10u);
  EXPECT_EQ(all, ALL_FEATURES) << "no game reaches: " << feature_names(ALL_FEATURES & ~all);
}

}  // namespace
