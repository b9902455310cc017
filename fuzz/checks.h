#pragma once
// What every fuzz target checks with: a property that fails stops the run
// with a crash the fuzzer keeps.
#include <string>

inline void require(bool holds) {
  if (!holds) __builtin_trap();
}

// A message for the terminal about outside text: one line of printable
// ASCII, as quoting (platform/quoted) leaves the outside text in it.
inline bool clean_line(const std::string& message) {
  if (message.empty()) return false;
  for (const char c : message) {
    if (c < 0x20 || c > 0x7e) return false;
  }
  return true;
}
