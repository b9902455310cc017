#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// One game of a run as the game's own play of it ended.
struct CHECKED_GAME {
  bool ok = false;
  std::string reason;  // why not, when not
  std::string mode;
  long long score = 0, frames = 0;
  std::uint32_t state = 0;
  int speed = 100;
  std::string digest;  // which game it is, whatever else its file says
  size_t bytes = 0;    // its length in the run
};

struct CHECK {
  enum { PLAYED, BUSY, FAILED } outcome = FAILED;
  std::vector<CHECKED_GAME> games;  // PLAYED: a line for each game, in order
  std::string error;                // FAILED: why the check did not finish
};

struct CHECK_LIMITS {
  int seconds = 30;      // of wall time, and of CPU time
  int megabytes = 512;  // of address space
};

// Checks runs with `brinegrab --verify` in a child process of its own: a
// session of its own, limited in CPU time, memory, files and wall time (then
// killed), started in the game's directory with an environment of the
// board's. At most `slots` at a time; at most `queue` more wait for one, and
// any beyond are BUSY at once.
class VERIFIER {
 public:
  VERIFIER(std::string game_dir, std::string work_dir, int slots, int queue, CHECK_LIMITS limits);
  CHECK check(const std::string& run);

 private:
  CHECK run_child(const std::string& path);

  std::string game_dir, work_dir;
  int slots, queue;
  CHECK_LIMITS limits;
  std::mutex lock;
  std::condition_variable freed;
  int running = 0, waiting = 0;
};

// The lines --verify printed, read; false when they are not such lines.
bool read_check_lines(const std::string& out, std::vector<CHECKED_GAME>& games);
