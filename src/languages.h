#pragma once
// The languages the game speaks besides English, its source language: each
// with its catalog, named as its speakers name it.
#include <string>
#include <vector>

struct LANGUAGE {
  const char* code;  // as in po/CODE.po and locale/CODE.mo: "de", "pt_BR"
  const char* name;  // in the language itself: "Deutsch"
};

const std::vector<LANGUAGE>& languages();

// English chosen in the settings ("language = en"), whatever the system
// speaks; no setting is the system's language.
constexpr const char* ENGLISH = "en";

// The game's code for a locale's language ("de_AT.UTF-8" -> "de", "pt_BR" ->
// "pt_BR", "zh_SG" -> "zh_CN"), or "" when the game does not speak it.
std::string known_language(const std::string& locale);

// The language to speak: chosen (a code, from the settings; ENGLISH) when
// not "", otherwise the first of the locales the system asks for that the game
// speaks; "" for English, English ("en") included.
std::string language_wanted(const std::string& chosen, const std::vector<std::string>& locales);

// Puts the catalog of language_wanted(chosen, the system's locales) in use,
// from locale/CODE.mo; a catalog that cannot be read costs a line on stderr
// and leaves English.
void speak(const std::string& chosen);

// Opens the faces of the language in use (the look); when that language's faces cannot be opened,
// English is spoken instead, with its own faces. False when even those fail.
bool open_faces();
// The same, only when the language in use has changed since the faces were
// opened (after the settings screen).
void follow_language();

// The settings screen's line and its value when nothing is chosen (the
// environment's language, or the browser's).
const char* language_label();
const char* automatic_label();
