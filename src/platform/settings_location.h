#pragma once
// Where the player's settings live.
#include <string>

// $XDG_CONFIG_HOME/brinegrab/settings.conf (an absolute XDG_CONFIG_HOME
// only), by default ~/.config/brinegrab/settings.conf; empty when neither
// is known.
std::string settings_path();
