#pragma once
#include <optional>

#include "game_state.h"
#include "platform/events.h"

// The kiosk's attract mode (--attract): 30 s of the title screens without a
// key plays the best game kept, of either mode; any key ends it and the
// title screens begin again.
void use_attract_mode(bool on);

// While one lasts (around the title screens) and the attract mode is on,
// 30 s without a key leave the screen as Escape does, once a best game is
// there to be shown: due() says so afterwards, for the run to play it.
class ATTRACT_SCOPE {
 public:
  ATTRACT_SCOPE();
  ~ATTRACT_SCOPE();
  ATTRACT_SCOPE(const ATTRACT_SCOPE&) = delete;
  ATTRACT_SCOPE& operator=(const ATTRACT_SCOPE&) = delete;
  bool due() const;

 private:
  std::optional<EVENT_TAP_SCOPE> tap_;  // while the attract mode is on
};

// Plays the game found when the scope became due; any key stops it.
void play_attract(GAME& game);
