#include "platform/quoted.h"

#include <cstdio>

namespace {

// In quotes, a quote and the backslash that escapes are escaped too.
std::string escaped_part(const std::string& text, size_t shown, bool in_quotes) {
  std::string out;
  for (size_t i = 0; i < shown; ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
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
      default:
        if (in_quotes && (byte == '\\' || byte == '\'')) {
          out += '\\';
          out += static_cast<char>(byte);
        } else if (byte >= 0x20 && byte < 0x7f) {
          out += static_cast<char>(byte);
        } else {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02x", byte);
          out += hex;
        }
    }
  }
  return out;
}

}  // namespace

std::string quoted(const std::string& text, size_t most) {
  const size_t shown = text.size() < most ? text.size() : most;
  return "'" + escaped_part(text, shown, true) + (shown < text.size() ? "'..." : "'");
}

std::string escaped(const char* text) {
  const std::string whole = text;
  return escaped_part(whole, whole.size(), false);
}

std::string quoted(const char* text) { return quoted(std::string(text)); }
