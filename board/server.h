#pragma once
#include <httplib.h>

#include <string>

#include "rate_limit.h"
#include "store.h"
#include "verifier.h"

// What the routes answer from.
struct BOARD {
  STORE& store;
  VERIFIER& verifier;
  RATE_LIMIT& rate;
  std::string web;  // the browser build served at /play/, "" for none
};

// The board's interface: POST /api/v1/runs, GET /api/v1/board,
// /api/v1/games/ID, /api/v1/games/ID/replay, /healthz, the page at /, and
// /watch/ID with /play/ when the browser build is served. CORS headers on
// every answer, so that a page elsewhere can use the API.
void add_routes(httplib::Server& server, BOARD& board);

// Now in UTC, ISO 8601 ("2026-12-10T13:40:00Z").
std::string utc_now();
