#pragma once
// Texts in the player's language. Until the catalogs come, every text is its
// English self.
inline const char* tr(const char* text) { return text; }
#define N_(text) text
