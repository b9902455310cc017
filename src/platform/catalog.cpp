#include "platform/catalog.h"

const char* tr(const char* msgid) { return msgid; }

std::string fill(const char* text, std::initializer_list<std::string> pieces) {
  std::string out;
  for (const char* p = text; *p != '\0'; ++p) {
    const size_t n = p[0] == '{' && p[1] >= '1' && p[1] <= '9' && p[2] == '}'
                         ? static_cast<size_t>(p[1] - '1')
                         : pieces.size();
    if (n < pieces.size()) {
      out += pieces.begin()[n];
      p += 2;
    } else {
      out += *p;
    }
  }
  return out;
}
