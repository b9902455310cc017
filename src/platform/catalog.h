#pragma once
// The player's language: texts looked up in a GNU .mo catalog. With no
// catalog in use every text is its English msgid, byte for byte.
#include <initializer_list>
#include <map>
#include <string>

// Marks a literal kept in a table; it is translated where it is drawn, with tr.
constexpr const char* N_(const char* msgid) { return msgid; }

// A text that means more than one thing ("Up" a move, "Up" a key's name),
// told apart by a context: in a .mo catalog its key is the context, the
// byte 4, then the text. NC_ marks one kept in a table as that one literal,
// which tr takes as it takes any other.
#define CONTEXT_GLUE "\004"
#define NC_(context, msgid) context CONTEXT_GLUE msgid

// The text in the language in use: its translation, or msgid itself (the part
// after the context of one NC_ made). What it returns stays valid for the
// whole run.
const char* tr(const char* msgid);

// The text msgid in the given context, in the language in use.
const char* trc(const char* context, const char* msgid);

// A text made of pieces: "{1}" to "{9}" stand for pieces[0] to pieces[8],
// in any order; anything else, a placeholder without a piece included, is
// kept as it is. Never a printf format: a catalog comes from outside.
std::string fill(const char* text, std::initializer_list<std::string> pieces);

// A catalog's translations by msgid.
using CATALOG = std::map<std::string, std::string>;

// The largest catalog file read.
constexpr size_t MOST_CATALOG_BYTES = 1u << 20;

// A .mo file's bytes as a catalog. Every count, offset and length is checked
// against the file: the tables lie apart after the header and the strings
// together span no more than the file, so reading costs time and memory in
// proportion to its size. A translation must be UTF-8 without control
// characters or the format characters that reorder or hide text (line
// breaks only in a text whose msgid has lines), use the same placeholders as
// its msgid, and the file must say it is UTF-8. False, with why in a few
// words (no outside text), for anything else.
bool parse_catalog(const std::string& bytes, CATALOG& catalog, std::string& why);

// Reads the catalog of language (its code, "de") from path, a checked regular
// file of MOST_CATALOG_BYTES at most, and puts it in use. A file once read
// is kept for the run and not read again. Language "" is English. False, with why in one line
// (the file's name quoted), leaving English in use.
bool use_catalog(const std::string& language, const std::string& path, std::string& why);

// The code of the language in use ("de", "pt_BR"), "" for English.
const std::string& language_in_use();
