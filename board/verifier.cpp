#include "verifier.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <utility>

namespace {

// More than a thousand games' lines: a check printing more is broken.
const size_t MOST_OUTPUT = 1u << 20;

// Frees the slot however the check ends.
struct SLOT {
  std::mutex& lock;
  std::condition_variable& freed;
  int& running;
  ~SLOT() {
    {
      const std::lock_guard<std::mutex> hold(lock);
      --running;
    }
    freed.notify_one();
  }
};

void set_limit(int resource, rlim_t value) {
  const rlimit limit{value, value};
  setrlimit(resource, &limit);
}

}  // namespace

VERIFIER::VERIFIER(std::string game, std::string work, int s, int q, CHECK_LIMITS l)
    : game_dir(std::move(game)), work_dir(std::move(work)), slots(s), queue(q), limits(l) {}

CHECK VERIFIER::check(const std::string& run) {
  {
    std::unique_lock<std::mutex> hold(lock);
    if (running >= slots) {
      if (waiting >= queue) {
        CHECK busy;
        busy.outcome = CHECK::BUSY;
        return busy;
      }
      ++waiting;
      freed.wait(hold, [this] { return running < slots; });
      --waiting;
    }
    ++running;
  }
  const SLOT slot{lock, freed, running};
  std::string path = work_dir + "/run-XXXXXX";
  const int fd = mkstemp(path.data());
  CHECK failed;
  if (fd < 0) {
    failed.error = std::string("cannot keep the run for its check: ") + std::strerror(errno);
    return failed;
  }
  size_t written = 0;
  while (written < run.size()) {
    const ssize_t n = write(fd, run.data() + written, run.size() - written);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  close(fd);
  CHECK result;
  if (written == run.size()) {
    result = run_child(path);
  } else {
    result.error = "cannot keep the run for its check";
  }
  unlink(path.c_str());
  return result;
}

CHECK VERIFIER::run_child(const std::string& path) {
  CHECK result;
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    result.error = "cannot start the check";
    return result;
  }
  // Everything the child needs is made before fork: after it, in a process
  // of many threads, the child calls only what is safe there.
  const std::string program = game_dir + "/brinegrab";
  const std::string home = "HOME=" + work_dir;
  const std::string config = "XDG_CONFIG_HOME=" + work_dir + "/none";
  const std::string data = "XDG_DATA_HOME=" + work_dir + "/none";
  const char* const argv[] = {"brinegrab", "--verify", path.c_str(), nullptr};
  const char* const envp[] = {home.c_str(),          config.c_str(),          data.c_str(),
                              "LC_ALL=C",            "PATH=/usr/bin:/bin",    "SDL_VIDEODRIVER=dummy",
                              "SDL_AUDIODRIVER=dummy", nullptr};
  const rlim_t seconds = static_cast<rlim_t>(limits.seconds);
  const rlim_t bytes = static_cast<rlim_t>(limits.megabytes) << 20;
  const pid_t child = fork();
  if (child < 0) {
    close(out[0]);
    close(out[1]);
    result.error = "cannot start the check";
    return result;
  }
  if (child == 0) {
    setsid();
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out[1], 1);
    dup2(null, 2);
    set_limit(RLIMIT_CPU, seconds);
    set_limit(RLIMIT_AS, bytes);
    set_limit(RLIMIT_FSIZE, 0);
    set_limit(RLIMIT_CORE, 0);
    set_limit(RLIMIT_NOFILE, 256);
    if (chdir(game_dir.c_str()) != 0) _exit(126);
    execve(program.c_str(), const_cast<char* const*>(argv), const_cast<char* const*>(envp));
    _exit(127);
  }
  close(out[1]);
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limits.seconds);
  bool timed_out = false, too_much = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timed_out = true;
      break;
    }
    pollfd p{out[0], POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) continue;
    char buffer[65536];
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    output.append(buffer, static_cast<size_t>(n));
    if (output.size() > MOST_OUTPUT) {
      too_much = true;
      break;
    }
  }
  close(out[0]);
  if (timed_out || too_much) kill(-child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (timed_out) {
    result.error = "the check of the run took longer than " + std::to_string(limits.seconds) + " s";
  } else if (too_much) {
    result.error = "the check of the run said too much";
  } else if (WIFSIGNALED(status)) {
    result.error = WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL
                       ? "the check of the run took more than its CPU time"
                       : "the check of the run ended with signal " + std::to_string(WTERMSIG(status));
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
    result.error = "the check of the run failed";
  } else if (!read_check_lines(output, result.games) || result.games.empty()) {
    result.error = "the check of the run said nothing the board understands";
  } else {
    result.outcome = CHECK::PLAYED;
  }
  return result;
}

bool read_check_lines(const std::string& out, std::vector<CHECKED_GAME>& games) {
  games.clear();
  size_t at = 0;
  while (at < out.size()) {
    const size_t end = out.find('\n', at);
    if (end == std::string::npos) return false;
    const nlohmann::json line = nlohmann::json::parse(out.substr(at, end - at), nullptr, false);
    at = end + 1;
    if (!line.is_object() || !line.contains("ok") || !line["ok"].is_boolean()) return false;
    CHECKED_GAME g;
    g.ok = line["ok"].get<bool>();
    try {
      if (!g.ok) {
        g.reason = line.at("reason").get<std::string>();
      } else {
        g.mode = line.at("mode").get<std::string>();
        g.score = line.at("score").get<long long>();
        g.frames = line.at("frames").get<long long>();
        g.state = line.at("state").get<std::uint32_t>();
        g.digest = line.at("game").get<std::string>();
        g.bytes = line.at("bytes").get<size_t>();
        if (line.contains("speed")) g.speed = line["speed"].get<int>();
        if (g.mode != "solo" && g.mode != "multi") return false;
      }
    } catch (const nlohmann::json::exception&) {
      return false;
    }
    games.push_back(g);
  }
  return true;
}
