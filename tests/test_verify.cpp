// brinegrab --verify, run as the world board runs it: the real program on
// real files, one JSON line per game. What a game must reach comes from its
// recording (the game's own play of it, tests/replays/ and tests/runs/);
// forged copies are the same files edited as a cheat would edit them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A header field's value as the recording wrote it.
std::string field(const std::string& replay, const std::string& name) {
  const std::string key = "\n" + name + " = ";
  const size_t at = replay.find(key);
  if (at == std::string::npos) return "";
  const size_t from = at + key.size();
  return replay.substr(from, replay.find('\n', from) - from);
}

// The same file with one header line's value replaced (or the line added
// after the first one when the file has none).
std::string with_field(const std::string& replay, const std::string& name,
                       const std::string& value) {
  const std::string key = "\n" + name + " = ";
  const size_t at = replay.find(key);
  if (at == std::string::npos) return replay.substr(0, replay.find('\n')) + key + value +
                                       replay.substr(replay.find('\n'));
  const size_t from = at + key.size();
  return replay.substr(0, from) + value + replay.substr(replay.find('\n', from));
}

// What the game's own play of a recording ends with, as --verify begins to say it.
std::string played_line(const std::string& replay) {
  return "{\"ok\":true,\"mode\":\"" + field(replay, "mode") + "\",\"score\":" +
         field(replay, "score") + ",\"frames\":" + field(replay, "drains") +
         ",\"state\":" + field(replay, "state") + ",\"game\":";
}

struct RUN {
  std::string name;
  std::vector<std::string> files;  // each file's bytes
  // Every line expected, or a piece of a refusal's reason: a line beginning
  // with "!" is a refusal whose reason holds the rest.
  std::vector<std::string> lines;
};

class VERIFY : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/brinegrab-verify-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

  // Starts every run's check at once, then reads them all.
  void check(const std::vector<RUN>& runs) {
    std::vector<FILE*> pipes;
    for (size_t r = 0; r < runs.size(); ++r) {
      std::string command = "./brinegrab --verify";
      for (size_t f = 0; f < runs[r].files.size(); ++f) {
        const std::string path = dir + "/" + std::to_string(r) + "-" + std::to_string(f);
        std::ofstream(path, std::ios::binary) << runs[r].files[f];
        command += " '" + path + "'";
      }
      pipes.push_back(popen((command + " 2>/dev/null").c_str(), "r"));
      ASSERT_NE(pipes.back(), nullptr);
    }
    for (size_t r = 0; r < runs.size(); ++r) {
      std::string out;
      char buffer[4096];
      size_t got = 0;
      while ((got = std::fread(buffer, 1, sizeof buffer, pipes[r])) > 0) out.append(buffer, got);
      const int status = pclose(pipes[r]);
      std::vector<std::string> lines;
      for (size_t at = 0; at < out.size();) {
        const size_t end = out.find('\n', at);
        lines.push_back(out.substr(at, end - at));
        at = end == std::string::npos ? out.size() : end + 1;
      }
      const RUN& run = runs[r];
      bool all_played = true;
      ASSERT_EQ(lines.size(), run.lines.size()) << run.name << ":\n" << out;
      for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& want = run.lines[i];
        if (want[0] == '!') {
          all_played = false;
          EXPECT_EQ(lines[i].rfind("{\"ok\":false,\"reason\":\"", 0), 0u) << run.name << ": " << lines[i];
          EXPECT_NE(lines[i].find(want.substr(1)), std::string::npos) << run.name << ": " << lines[i];
        } else {
          EXPECT_EQ(lines[i].substr(0, want.size()), want) << run.name;
        }
      }
      ASSERT_TRUE(WIFEXITED(status)) << run.name;
      EXPECT_EQ(WEXITSTATUS(status), all_played ? 0 : 1) << run.name;
    }
  }

  std::string dir;
};

const std::string REPLAYS = REPLAY_DIR;
const std::string RUNS = BRINEGRAB_SOURCE_DIR "/tests/runs/";

// Games recorded after another game of their run: alone, their start cannot be rebuilt.
const char* const SECOND_GAMES[] = {"solo-ruby", "multi-hits", "multi-second-game"};

TEST_F(VERIFY, EveryRecordedGamePlaysToItsEndAndAGameWithoutTheGamesBeforeItIsRefused) {
  std::vector<RUN> runs;
  for (const char* name :
       {"solo-hits", "solo-escape-chest", "solo-ruby", "solo-ghost", "solo-five-minutes",
        "multi-trap-run", "multi-treasure-boxes", "multi-cannonball-rows", "multi-sword-fight",
        "multi-hits", "multi-second-game"}) {
    const std::string replay = file_text(REPLAYS + "/" + name + ".replay");
    bool second = false;
    for (const char* s : SECOND_GAMES) second = second || std::string(s) == name;
    runs.push_back({name, {replay},
                    {second ? "!is not where the game's start-up leaves its seed"
                            : played_line(replay)}});
  }
  check(runs);
}

TEST_F(VERIFY, ARunPlaysAsAChainFromStartUpAndEveryLinkMustFollowTheOneBefore) {
  const std::string run = file_text(RUNS + "solo-ruby.run");
  const std::string second = file_text(REPLAYS + "/solo-ruby.replay");
  const std::string first = run.substr(0, run.find("Brinegrab replay", 1));
  const std::string lone = file_text(REPLAYS + "/solo-hits.replay");
  const std::string multi = file_text(RUNS + "multi-second-game.run");
  const std::string multi_first = multi.substr(0, multi.find("Brinegrab replay", 1));
  const std::string multi_second = multi.substr(multi_first.size());
  check({
      {"one file, two games", {run}, {played_line(first), played_line(second)}},
      {"two files", {first, second}, {played_line(first), played_line(second)}},
      {"two-player run", {multi}, {played_line(multi_first), played_line(multi_second)}},
      {"in the wrong order",
       {second, first},
       {"!is not where the game's start-up leaves its seed", "!a game before it in the run"}},
      {"a game of another run after the first",
       {first, lone},
       {played_line(first), "!its seed is not where the game before it ended"}},
      {"the first game twice",
       {first, first},
       {played_line(first), "!is not where the game before it ended"}},
  });
}

TEST_F(VERIFY, AForgedOrBrokenReplayIsRefusedWithItsReason) {
  const std::string real = file_text(REPLAYS + "/solo-escape-chest.replay");
  const std::string score = field(real, "score");
  const long drains = std::stol(field(real, "drains"));
  std::string carried = field(real, "carried");
  carried[0] = carried[0] == '0' ? '1' : '0';
  const std::string seed = std::to_string(std::stoul(field(real, "seed")) + 1);
  // The first two keys of the file's key table trade places: every press of one is now the other.
  std::string keys = field(real, "keys");
  const size_t space = keys.find(' ', 1);
  const size_t next = keys.find(' ', space + 1);
  keys = keys.substr(space + 1, next - space - 1) + " " + keys.substr(0, space) +
         keys.substr(next);
  const std::string data = real.substr(0, real.find("\ndata\n") + 6);
  check({
      {"score edited",
       {with_field(real, "score", std::to_string(std::stol(score) + 1000))},
       {"!the game scores " + score + "; the recording says"}},
      {"a frame cut", {with_field(real, "drains", std::to_string(drains - 1))}, {"!"}},
      {"frames added",
       {with_field(real, "drains", std::to_string(drains + 1))},
       {"!the game ends after " + std::to_string(drains) + " frames"}},
      {"a key changed", {with_field(real, "keys", keys)}, {"!the game"}},
      {"carried state changed", {with_field(real, "carried", carried)}, {"!what it carries over"}},
      {"seed changed", {with_field(real, "seed", seed)}, {"!"}},
      {"another version",
       {with_field(real, "version", "0.9.0")},
       {"!made by Brinegrab 0.9.0; this board plays " BRINEGRAB_TEST_VERSION}},
      {"another random stream", {with_field(real, "random", "musl")}, {"!random numbers of musl"}},
      {"another format", {with_field(real, "format", "2")}, {"!(replay format 2)"}},
      {"cut in its data", {data}, {"!cut short"}},
      {"junk", {"Hello, board\n"}, {"!not a Brinegrab replay"}},
      {"empty", {""}, {"!not a Brinegrab replay"}},
      {"junk after a sound game", {real + "junk"}, {played_line(real), "!not a Brinegrab replay"}},
  });
}

}  // namespace
