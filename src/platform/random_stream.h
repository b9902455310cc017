#pragma once
// Which C library's rand() this build draws from. A replay plays its game
// again only where the same seed gives the same numbers, so it carries this
// name, and a build whose rand() differs refuses it.

// The desktop game's stream: also what a replay that names no stream was
// made with.
const char* const DESKTOP_RANDOM_STREAM = "glibc";
// The browser game's (emscripten's C library is musl).
const char* const BROWSER_RANDOM_STREAM = "musl";

// This build's stream.
const char* random_stream();

// Where this build plays, for saying why a replay cannot be watched here:
// "this desktop's" random numbers, "this browser's".
const char* random_stream_home();
