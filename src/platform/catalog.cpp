#include "platform/catalog.h"

#include <cstdint>
#include <cstring>
#include <list>
#include <utility>

#include "platform/quoted.h"
#include "platform/regular_file.h"

namespace {

const uint32_t MO_MAGIC = 0x950412de;
const size_t MO_HEADER_BYTES = 28;

struct IN_USE {
  std::string language;
  const CATALOG* catalog = nullptr;
};

IN_USE in_use;

// Every catalog read this run, by its path: what tr returned from one stays
// valid after the player chose another language.
std::list<std::pair<std::string, CATALOG>>& kept() {
  static std::list<std::pair<std::string, CATALOG>> all;
  return all;
}

uint32_t word_at(const std::string& bytes, size_t at, bool swapped) {
  uint32_t w = 0;
  for (size_t i = 0; i < 4; ++i) {
    const uint32_t byte = static_cast<unsigned char>(bytes[at + (swapped ? i : 3 - i)]);
    w = (w << 8) | byte;
  }
  return w;
}

// The string a table's entry points at, up to its first NUL (a plural's
// other forms and a context's separator follow one); false when it does not
// lie inside the file, its NUL included. spanned grows by the bytes the
// entry claims, whatever its NUL cuts off: what the caller bounds.
bool string_at(const std::string& bytes, size_t entry, bool swapped, std::string& out,
               size_t& spanned) {
  if (entry > bytes.size() - 8) return false;
  const size_t length = word_at(bytes, entry, swapped);
  const size_t offset = word_at(bytes, entry + 4, swapped);
  if (offset > bytes.size() || length >= bytes.size() - offset) return false;
  spanned += length;
  if (spanned > bytes.size()) return false;
  const void* nul = std::memchr(bytes.data() + offset, '\0', length);
  out.assign(bytes, offset,
             nul == nullptr ? length : static_cast<const char*>(nul) - (bytes.data() + offset));
  return true;
}

// The format characters that reorder or hide text on a terminal or screen:
// the bidirectional marks, embeddings, overrides and isolates, the
// zero-width ones and the byte order mark.
bool format_character(uint32_t code) {
  return code == 0x061c || (code >= 0x200b && code <= 0x200f) ||
         (code >= 0x202a && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069) || code == 0xfeff;
}

// Whether text is UTF-8 without control characters (C0, DEL, C1) or the
// format characters above; line breaks only where lines are allowed (a text
// of several lines, such as the help, may be laid out in as many lines as
// its language needs; a line on the screen stays one).
bool clean_utf8(const std::string& text, bool lines) {
  bool broken = false;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if (c == '\n') broken = true;
      if ((c < 0x20 && c != '\n') || c == 0x7f) return false;
      ++i;
      continue;
    }
    const size_t n = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 ? 2 : 0;
    if (n == 0 || c > 0xf4 || i + n > text.size()) return false;
    uint32_t code = c & (0x7f >> n);
    for (size_t k = 1; k < n; ++k) {
      const unsigned char more = static_cast<unsigned char>(text[i + k]);
      if ((more & 0xc0) != 0x80) return false;
      code = (code << 6) | (more & 0x3f);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[n] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return false;
    if ((code >= 0x80 && code <= 0x9f) || format_character(code)) return false;
    i += n;
  }
  return lines || !broken;
}

// How often each of "{1}" to "{9}" stands in text.
std::string placeholders(const std::string& text) {
  std::string counts(9, '\0');
  for (size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i] == '{' && text[i + 1] >= '1' && text[i + 1] <= '9' && text[i + 2] == '}') {
      ++counts[static_cast<size_t>(text[i + 1] - '1')];
    }
  }
  return counts;
}

size_t count(const std::string& text, char c) {
  size_t n = 0;
  for (char t : text) n += t == c;
  return n;
}

bool says_utf8(const std::string& header) {
  const size_t at = header.find("charset=");
  if (at == std::string::npos) return false;
  std::string charset = header.substr(at + 8, header.find('\n', at) - at - 8);
  for (char& c : charset) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return charset == "UTF-8" || charset == "ASCII";
}

}  // namespace

const char* tr(const char* msgid) {
  if (in_use.catalog != nullptr) {
    const auto found = in_use.catalog->find(msgid);
    if (found != in_use.catalog->end()) return found->second.c_str();
  }
  const char* const glue = std::strchr(msgid, CONTEXT_GLUE[0]);
  return glue == nullptr ? msgid : glue + 1;
}

const char* trc(const char* context, const char* msgid) {
  if (in_use.catalog == nullptr) return msgid;
  const auto found = in_use.catalog->find(std::string(context) + CONTEXT_GLUE + msgid);
  return found == in_use.catalog->end() ? msgid : found->second.c_str();
}

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

bool parse_catalog(const std::string& bytes, CATALOG& catalog, std::string& why) {
  catalog.clear();
  why = "not a GNU message catalog";
  if (bytes.size() < MO_HEADER_BYTES) return false;
  const bool swapped = word_at(bytes, 0, false) != MO_MAGIC;
  if (word_at(bytes, 0, swapped) != MO_MAGIC) return false;
  why = "a message catalog of an unknown revision";
  if ((word_at(bytes, 4, swapped) >> 16) > 1) return false;
  why = "a message catalog whose tables lie outside it";
  const size_t strings = word_at(bytes, 8, swapped);
  const size_t originals = word_at(bytes, 12, swapped);
  const size_t translations = word_at(bytes, 16, swapped);
  // Both tables lie after the header, apart: with each entry's strings
  // counted as the bytes they span, reading costs no more than the file's size.
  const size_t table_bytes = strings * 8;
  if (strings > (bytes.size() - MO_HEADER_BYTES) / 16 || originals < MO_HEADER_BYTES ||
      translations < MO_HEADER_BYTES || originals > bytes.size() - table_bytes ||
      translations > bytes.size() - table_bytes ||
      (strings > 0 && originals < translations + table_bytes &&
       translations < originals + table_bytes)) {
    return false;
  }
  bool utf8 = false;
  // Strings that overlap could make a small file cost a great deal of copying.
  size_t spanned = 0;
  for (size_t i = 0; i < strings; ++i) {
    std::string msgid, msgstr;
    if (!string_at(bytes, originals + 8 * i, swapped, msgid, spanned) ||
        !string_at(bytes, translations + 8 * i, swapped, msgstr, spanned)) {
      why = "a message catalog whose strings lie outside it or overlap";
      catalog.clear();
      return false;
    }
    if (msgid.empty()) {
      utf8 = says_utf8(msgstr);
      continue;
    }
    if (msgstr.empty()) continue;  // not translated
    if (!clean_utf8(msgstr, count(msgid, '\n') > 0)) {
      why = "a translation that is not clean UTF-8 text";
      catalog.clear();
      return false;
    }
    if (placeholders(msgstr) != placeholders(msgid)) {
      why = "a translation whose {N} are not its text's";
      catalog.clear();
      return false;
    }
    catalog[msgid] = msgstr;
  }
  if (!utf8) {
    why = "a message catalog that is not in UTF-8";
    catalog.clear();
    return false;
  }
  why.clear();
  return true;
}

bool use_catalog(const std::string& language, const std::string& path, std::string& why) {
  in_use = IN_USE();
  if (language.empty()) return true;
  for (const auto& known : kept()) {
    if (known.first == path) {
      in_use = {language, &known.second};
      return true;
    }
  }
  std::string bytes;
  int error = 0;
  const READ_RESULT got = read_regular_file(path.c_str(), MOST_CATALOG_BYTES, bytes, error);
  CATALOG catalog;
  if (got != READ_RESULT::WHOLE) {
    // In English, as the whole message: no catalog is in use here.
    why = got == READ_RESULT::NOT_REGULAR ? "not a regular file"
          : got == READ_RESULT::TOO_LARGE ? "too large"
                                          : std::strerror(error);
  } else if (parse_catalog(bytes, catalog, why)) {
    kept().emplace_back(path, std::move(catalog));
    in_use = {language, &kept().back().second};
    return true;
  }
  why = "cannot read the translation " + quoted(path) + ": " + why + "; playing in English";
  return false;
}

const std::string& language_in_use() { return in_use.language; }
