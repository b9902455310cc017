// The desktop has no page around the game.
#include "platform/page.h"

PAGE_INPUT page_input() { return PAGE_INPUT(); }

bool page_full_screen() { return false; }

bool page_listens() { return false; }

void page_players(bool) {}

void page_replays(const std::string&, const std::string&) {}

void page_replay_refused(const std::string&) {}

void page_text(const char*, const std::string&) {}
