#include "names.h"

#include <openssl/evp.h>

#include <cstdio>
#include <vector>

namespace {

const size_t MOST_CHARACTERS = 16;
const char* const MARKS = "-_.'!?";

// The code points of text, or false when it is not well-formed UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
bool code_points(const std::string& text, std::vector<char32_t>& out) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t c = 0;
    if (b < 0x80) {
      c = b;
    } else if (b >= 0xc2 && b < 0xe0) {
      extra = 1;
      c = b & 0x1f;
    } else if (b >= 0xe0 && b < 0xf0) {
      extra = 2;
      c = b & 0x0f;
    } else if (b >= 0xf0 && b < 0xf5) {
      extra = 3;
      c = b & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<size_t>(extra) >= text.size()) return false;  // cut short
    for (int k = 1; k <= extra; ++k) {
      const unsigned char n = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((n & 0xc0) != 0x80) return false;
      c = (c << 6) | (n & 0x3f);
    }
    if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10ffff)) ||
        (c >= 0xd800 && c <= 0xdfff)) {
      return false;
    }
    out.push_back(c);
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

bool letter_or_digit(char32_t c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  // Latin-1's letters (not its multiplication and division signs) and Latin Extended-A.
  if (c >= 0xc0 && c <= 0x17f) return c != 0xd7 && c != 0xf7;
  // Cyrillic's basic letters, with the letters of its first row (Ё, Є, І, Ї, Ў, ...).
  return c >= 0x400 && c <= 0x45f;
}

char32_t lower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xc0 && c <= 0xde && c != 0xd7) return c + 32;
  if (c >= 0x100 && c <= 0x137) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17e)) return (c & 1) != 0 ? c + 1 : c;
  if (c >= 0x14a && c <= 0x177) return c | 1;
  if (c == 0x178) return 0xff;
  if (c >= 0x410 && c <= 0x42f) return c + 32;
  if (c >= 0x400 && c <= 0x40f) return c + 80;
  return c;
}

void put_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xc0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3f));
  } else {
    out += static_cast<char>(0xe0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (c & 0x3f));
  }
}

}  // namespace

bool clean_name(const std::string& given, std::string& name, std::string& error) {
  std::vector<char32_t> all;
  if (given.size() > 256 || !code_points(given, all)) {
    error = "the name is not UTF-8 text";
    return false;
  }
  size_t first = 0, last = all.size();
  while (first < last && all[first] == ' ') ++first;
  while (last > first && all[last - 1] == ' ') --last;
  if (first == last) {
    error = "the name is empty";
    return false;
  }
  if (last - first > MOST_CHARACTERS) {
    error = "the name is longer than 16 characters";
    return false;
  }
  name.clear();
  for (size_t i = first; i < last; ++i) {
    const char32_t c = all[i];
    const bool mark = c < 0x80 && c != 0 && std::string(MARKS).find(static_cast<char>(c)) !=
                                                 std::string::npos;
    if (c == ' ' && all[i - 1] == ' ') {
      error = "the name has two spaces together";
      return false;
    }
    if (!letter_or_digit(c) && !mark && c != ' ') {
      char shown[16];
      std::snprintf(shown, sizeof shown, "U+%04X", static_cast<unsigned>(c));
      error = std::string("the name has a character the board does not take (") + shown +
              "): letters and digits, spaces and - _ . ' ! ? only";
      return false;
    }
    put_utf8(name, c);
  }
  return true;
}

std::string name_key(const std::string& name) {
  std::vector<char32_t> all;
  code_points(name, all);
  std::string key;
  for (const char32_t c : all) put_utf8(key, lower(c));
  return key;
}

bool good_token(const std::string& token) {
  if (token.size() < 16 || token.size() > 256) return false;
  for (const char c : token) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    std::string("-._~+/=").find(c) != std::string::npos;
    if (!ok) return false;
  }
  return true;
}

std::string sha256_hex(const std::string& text) {
  unsigned char hash[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(text.data(), text.size(), hash, &length, EVP_sha256(), nullptr);
  std::string out;
  char hex[3];
  for (unsigned int i = 0; i < length; ++i) {
    std::snprintf(hex, sizeof hex, "%02x", hash[i]);
    out += hex;
  }
  return out;
}
