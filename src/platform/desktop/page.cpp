// The desktop has no page around the game: what the game would tell one
// goes nowhere, unless a test stands in for the page.
#include "platform/page.h"

namespace {
PAGE_TOLD page_told = nullptr;
}  // namespace

PAGE_INPUT page_input() { return PAGE_INPUT(); }

bool page_full_screen() { return false; }

bool page_listens() { return page_told != nullptr; }

void page_players(bool) {}

void page_replays(const std::string& last, const std::string& best) {
  if (page_told != nullptr) page_told("replays", last + "\n" + best);
}

void page_replay_refused(const std::string& why) {
  if (page_told != nullptr) page_told("replay-refused", why);
}

void page_text(const char* name, const std::string& text) {
  if (page_told != nullptr) page_told(name, text);
}

PAGE_TOLD set_page_told(PAGE_TOLD told) {
  const PAGE_TOLD before = page_told;
  page_told = told;
  return before;
}
