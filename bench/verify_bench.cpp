// verify_bench: how much faster than real time `brinegrab --verify` checks
// the recorded games of tests/replays/ (each a child process, as the world
// board runs it), beside what a bare child process (/bin/true) and the
// game's start alone (a game refused before its play) cost. Run from
// build/game/:
//   cd build/game && ../verify_bench
// Counters: times_real_time (the games' own time over the child's CPU time),
// cpu_ms (the child's CPU time, user and system, per check).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* const FIRST_GAMES[] = {"solo-hits",          "solo-escape-chest",
                                   "solo-ghost",         "solo-five-minutes",
                                   "multi-trap-run",     "multi-treasure-boxes",
                                   "multi-cannonball-rows", "multi-sword-fight"};
const double FRAME_SECONDS = 0.04;

double children_cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the program with its output thrown away; false if it did not exit 0.
bool run(const std::vector<std::string>& args) {
  const pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double recorded_seconds(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("drains = ", 0) == 0) return std::stod(line.substr(9)) * FRAME_SECONDS;
  }
  return 0;
}

void measure(benchmark::State& state, const std::vector<std::string>& args, double game_seconds,
             bool must_pass) {
  double cpu = 0;
  for (auto _ : state) {
    const double before = children_cpu_seconds();
    const bool passed = run(args);
    cpu += children_cpu_seconds() - before;
    if (passed != must_pass) state.SkipWithError("the check did not end as it should");
  }
  const double per_run = cpu / static_cast<double>(state.iterations());
  state.counters["cpu_ms"] = per_run * 1000;
  if (game_seconds > 0) state.counters["times_real_time"] = game_seconds / per_run;
}

void BM_bare_child(benchmark::State& state) { measure(state, {"/bin/true"}, 0, true); }
BENCHMARK(BM_bare_child)->Unit(benchmark::kMillisecond);

// The game's start and nothing played: a run's second game alone is refused at once.
void BM_start_only(benchmark::State& state) {
  measure(state, {"./brinegrab", "--verify", REPLAY_DIR "/solo-ruby.replay"}, 0, false);
}
BENCHMARK(BM_start_only)->Unit(benchmark::kMillisecond);

void BM_verify(benchmark::State& state, const std::string& name) {
  const std::string path = std::string(REPLAY_DIR) + "/" + name + ".replay";
  measure(state, {"./brinegrab", "--verify", path}, recorded_seconds(path), true);
}

}  // namespace

int main(int argc, char** argv) {
  for (const char* name : FIRST_GAMES) {
    benchmark::RegisterBenchmark(("BM_verify/" + std::string(name)).c_str(), BM_verify,
                                 std::string(name))
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
