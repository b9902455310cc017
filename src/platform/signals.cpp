#include "platform/signals.h"

#include <signal.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t stop_signal = 0;

const int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

void note_stop(int sig) {
  if (stop_signal != 0) {
    // Asked twice: whatever the game is doing, the default action ends it.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
    return;
  }
  stop_signal = sig;
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
