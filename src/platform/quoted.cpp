#include "platform/quoted.h"

#include <cstdio>

std::string quoted(const char* text) {
  std::string out = "'";
  for (const char* c = text; *c != '\0'; ++c) {
    const unsigned char byte = static_cast<unsigned char>(*c);
    switch (byte) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\'':
        out += "\\'";
        break;
      default:
        if (byte >= 0x20 && byte < 0x7f) {
          out += static_cast<char>(byte);
        } else {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02x", byte);
          out += hex;
        }
    }
  }
  return out + "'";
}
