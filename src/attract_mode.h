#pragma once
#include "game.h"

// The kiosk's attract mode (--attract): while an ATTRACT_SCOPE lasts (the
// title screens), 30 s without a key plays the best game kept, of either
// mode, and any key returns to the screen it left.
void use_attract_mode(bool on);
class ATTRACT_SCOPE {
 public:
  explicit ATTRACT_SCOPE(GAME& game);
  ~ATTRACT_SCOPE();
  ATTRACT_SCOPE(const ATTRACT_SCOPE&) = delete;
  ATTRACT_SCOPE& operator=(const ATTRACT_SCOPE&) = delete;
};
