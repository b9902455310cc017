#pragma once
// The player's language: texts looked up in a GNU .mo catalog. With no
// catalog loaded every text is its English msgid, byte for byte.
#include <initializer_list>
#include <string>

// Marks a literal kept in a table; it is translated where it is drawn, with tr.
constexpr const char* N_(const char* msgid) { return msgid; }

// The text in the language in use: its translation, or msgid itself.
const char* tr(const char* msgid);

// A text made of pieces: "{1}" to "{9}" stand for pieces[0] to pieces[8],
// in any order; anything else, a placeholder without a piece included, is
// kept as it is. Never a printf format: a catalog comes from outside.
std::string fill(const char* text, std::initializer_list<std::string> pieces);
