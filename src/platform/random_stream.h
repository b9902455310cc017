#pragma once
// Whose rand() this build draws from. A replay plays its game again only
// where the same seed gives the same numbers, so it carries this name, and a
// build whose rand() differs refuses it. Both builds draw glibc's numbers:
// the desktop from glibc itself, the browser from platform/glibc_random.

// Also what a replay that names no stream was made with. Files of the
// browser's own C library (musl) came from the browser's first builds.
const char* const RANDOM_STREAM = "glibc";

// Where this build plays, for saying why a replay cannot be watched here:
// "this desktop's" random numbers, "this browser's".
const char* random_stream_home();
