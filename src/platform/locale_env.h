#pragma once
// The languages the player's system asks for, best first: locale names such
// as "de_AT.UTF-8", "pt_BR" or "ja". Empty for the C locale: English.
#include <string>
#include <vector>

std::vector<std::string> wanted_locales();
