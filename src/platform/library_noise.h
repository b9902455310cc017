#pragma once

// While one lives, the libraries SDL tries in turn at start-up keep their
// complaints off the terminal: without a sound card ALSA prints eight or
// nine lines before SDL gives up on it, without XDG_RUNTIME_DIR libwayland
// one. The game says in one line of its own what came of it. Afterwards
// the libraries speak as usual, so a fault during play is still seen.
class LIBRARY_NOISE_OFF {
 public:
  LIBRARY_NOISE_OFF();
  ~LIBRARY_NOISE_OFF();
  LIBRARY_NOISE_OFF(const LIBRARY_NOISE_OFF&) = delete;
  LIBRARY_NOISE_OFF& operator=(const LIBRARY_NOISE_OFF&) = delete;
};
