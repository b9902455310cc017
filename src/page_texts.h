#pragma once
// The texts the page around the browser build shows, kept with the game's
// own so that they are translated in one place.
#include <string>

#include "replay_files.h"

// Hands the page its texts and the names of the menu's keys (the touch
// controls are labelled as the screens name the keys).
void tell_page_texts();

// Hands the page the key list beside the picture, with the players' keys
// as they are now.
void tell_page_keys();

// Tells the page why a replay cannot be watched (the reason as
// load_replay gives it), in the sentence for that kind of refusal.
void tell_page_refusal(const std::string& why, REPLAY_REFUSAL refusal);

// Tells the page which replays are kept, as the program ends.
void tell_page_replays();
