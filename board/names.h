#pragma once
#include <string>

// A player's name as the board takes it: UTF-8, trimmed of spaces, 1 to 16
// characters, each a letter or digit of the Latin or Cyrillic script (what
// the game's text face draws), a space, or one of the marks - _ . ' ! ?;
// never two spaces together. No control, format, bidirectional or
// zero-width character can pass. False with why in error.
bool clean_name(const std::string& given, std::string& name, std::string& error);

// The name as the board tells names apart: letters in lower case, so that
// "Anna" and "ANNA" are one name.
std::string name_key(const std::string& name);

// A Bearer token as the board takes it: 16 to 256 characters of A-Z, a-z,
// 0-9 and - . _ ~ + / =.
bool good_token(const std::string& token);

// The SHA-256 of text, in hexadecimal: all the board keeps of a token.
std::string sha256_hex(const std::string& text);
