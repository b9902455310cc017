// libFuzzer target for the translations' catalogs (GNU .mo files): whatever
// the bytes, the reader refuses them in a few plain words, or every
// translation it keeps is clean UTF-8 text (no control or format character)
// with its msgid's placeholders (and on one line where its msgid is one), so
// that no catalog can put a control character on the terminal or a piece in
// the wrong place. Built by the fuzz preset, run by scripts/fuzz.
#include <cstddef>
#include <cstdint>
#include <string>

#include "checks.h"
#include "platform/catalog.h"

namespace {

size_t count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// No control character (C0 but the line break, DEL, C1) and none of the
// format characters that reorder or hide text (U+061C, U+200B-U+200F,
// U+202A-U+202E, U+2066-U+2069, U+FEFF), in UTF-8 that decodes.
bool no_control_character(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t n = lead < 0x80 ? 1 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    if (n == 0 || i + n > text.size()) return false;
    std::uint32_t code = n == 1 ? lead : lead & (0x7f >> n);
    for (size_t k = 1; k < n; ++k) {
      code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3f);
    }
    i += n;
    if ((code < 0x20 && code != '\n') || (code >= 0x7f && code <= 0x9f)) return false;
    if (code == 0x061c || (code >= 0x200b && code <= 0x200f) ||
        (code >= 0x202a && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069) ||
        code == 0xfeff) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CATALOG catalog;
  std::string why;
  if (!parse_catalog(bytes, catalog, why)) {
    require(clean_line(why));
    require(catalog.empty());
    return 0;
  }
  require(why.empty());
  for (const auto& [msgid, msgstr] : catalog) {
    require(!msgid.empty() && !msgstr.empty());
    require(no_control_character(msgstr));
    // One line stays one; a text of lines may be laid out anew.
    if (count(msgid, "\n") == 0) require(count(msgstr, "\n") == 0);
    for (char n = '1'; n <= '9'; ++n) {
      const std::string placeholder = {'{', n, '}'};
      require(count(msgstr, placeholder) == count(msgid, placeholder));
    }
  }
  return 0;
}
