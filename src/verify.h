#pragma once
#include <cstdio>

// `brinegrab --verify FILE...`: plays a run's recorded games again with the
// game's own rules, headless and without a single wait, and prints one JSON
// line per game to out: {"ok":true,"mode":"solo","score":33606,"frames":606,
// "state":3617360541,"game":"...","bytes":1234} (frames: every frame the
// game ran, the mini-games' and the fight's included; game: which game it
// is, the same whatever else its file says; bytes: its length in its file),
// or {"ok":false,"reason":"..."}. A file holds one
// replay or several one after another; together, in order, they are one run:
// the first game begins where the game's start-up leaves its seed, each next
// one where the game before it ended. Nothing the files say is believed that
// the play does not reach itself. The process ends with 0 when every game
// played to what it recorded, 1 otherwise; 2 is returned when no file was named.
int verify_replays(int count, char* files[], std::FILE* out);
