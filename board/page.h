#pragma once
#include <string>
#include <vector>

#include "store.h"

// The board as a web page: the best solo and two-player games, today's and
// of all time, each with a Watch link when the browser game is served.
// Every name is text: escaped, never markup.
struct PAGE_BOARDS {
  std::vector<ENTRY> solo_today, solo_all, multi_today, multi_all;
  std::string today;
  bool watch = false;
};
std::string board_page(const PAGE_BOARDS& boards);

// Text made safe inside HTML, as text and in attributes.
std::string html_text(const std::string& text);
