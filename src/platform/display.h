#pragma once

// Whether the video driver SDL chose shows the game to anyone. Without a
// display SDL quietly falls back to a driver that draws into memory; unless
// the player asked for it (SDL_VIDEODRIVER), that is reported on stderr in
// one line and the answer is false. Call after SDL has started its video.
bool display_shows_game();

// Says on stderr, in one line, that SDL could not start its video, for
// SDL's reason, naming the display the environment asked for, if any.
void report_display_failure(const char* reason);
