// libFuzzer target for the translations' catalogs (GNU .mo files): whatever
// the bytes, the reader refuses them in a few plain words, or every
// translation it keeps is clean UTF-8 text with its msgid's placeholders (and
// on one line where its msgid is one), so
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

bool printable_or_utf8(const std::string& text) {
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != '\n') || byte == 0x7f) return false;
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
    require(printable_or_utf8(msgstr));
    // One line stays one; a text of lines may be laid out anew.
    if (count(msgid, "\n") == 0) require(count(msgstr, "\n") == 0);
    for (char n = '1'; n <= '9'; ++n) {
      const std::string placeholder = {'{', n, '}'};
      require(count(msgstr, placeholder) == count(msgid, placeholder));
    }
  }
  return 0;
}
