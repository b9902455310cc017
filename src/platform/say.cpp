#include "platform/say.h"

#include <cstdio>

void say(const std::string& line) { std::fprintf(stderr, "brinegrab: %s\n", line.c_str()); }
