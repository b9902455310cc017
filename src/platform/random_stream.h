#pragma once
// Whose rand() this build draws from. A replay plays its game again only
// where the same seed gives the same numbers, so it carries this name, and a
// build whose rand() differs refuses it. Both builds draw glibc's numbers:
// the desktop from glibc itself, the browser from platform/glibc_random.

// Also what a replay that names no stream was made with. Files of the
// browser's own C library (musl) came from the browser's first builds.
const char* const RANDOM_STREAM = "glibc";

// Why a replay drawn from another stream ({1}) cannot be watched where this
// build plays, translated.
const char* other_stream_text();
