#include "platform/signals.h"

#include <signal.h>
#include <time.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t stop_signal = 0;
// When the first signal came, on the monotonic clock (lock-free, so a
// handler may write it).
std::atomic<long long> first_stop_ms{0};

const int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

long long monotonic_ms() {
  timespec now = {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Only async-signal-safe calls: clock_gettime, signal, raise.
void note_stop(int sig) {
  const int saved_errno = errno;
  if (stop_signal == 0) {
    first_stop_ms = monotonic_ms();
    stop_signal = sig;
  } else if (monotonic_ms() - first_stop_ms >= STOP_GRACE_MS) {
    // Still here long after the first: whatever the game is doing, the
    // default action ends it. Sooner, the game is on its short way out,
    // saving the game in play, and a second signal changes nothing.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
  }
  errno = saved_errno;
}

}  // namespace

void install_stop_signals() {
  struct sigaction action = {};
  action.sa_handler = note_stop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : STOP_SIGNALS) sigaction(sig, &action, nullptr);
}

bool stop_requested() { return stop_signal != 0; }

int stop_grace_left_ms() {
  if (!stop_requested()) return STOP_GRACE_MS;
  const long long left = first_stop_ms + STOP_GRACE_MS - monotonic_ms();
  return left > 0 ? static_cast<int>(left) : 0;
}

void forget_stop_request() { stop_signal = 0; }

void leave_at_once() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  std::fflush(nullptr);
  std::_Exit(0);
}

void wait_ms(Uint32 ms) {
  while (ms > 0 && !stop_requested()) {
    const Uint32 step = ms < WAIT_STEP_MS ? ms : WAIT_STEP_MS;
    SDL_Delay(step);
    ms -= step;
  }
}
