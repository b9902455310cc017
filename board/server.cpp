#include "server.h"

#include <chrono>
#include <ctime>
#include <functional>
#include <mutex>
#include <unordered_map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "names.h"
#include "page.h"

namespace {

using nlohmann::json;

const int MOST_LIMIT = 100;
const long long MOST_OFFSET = 10000000;
const char* const BUSY_SECONDS = "10";

void answer(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace) + "\n",
                  "application/json; charset=utf-8");
}

void refuse(httplib::Response& res, int status, const std::string& why) {
  answer(res, status, json{{"error", why}});
}

// A day as YYYY-MM-DD that the calendar has.
bool good_day(const std::string& day) {
  if (day.size() != 10 || day[4] != '-' || day[7] != '-') return false;
  for (const size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (day[i] < '0' || day[i] > '9') return false;
  }
  const int month = std::stoi(day.substr(5, 2)), date = std::stoi(day.substr(8, 2));
  return month >= 1 && month <= 12 && date >= 1 && date <= 31;
}

// A whole number of at most 18 digits from lowest to highest.
bool whole(const std::string& text, long long lowest, long long highest, long long& out) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  out = std::stoll(text);
  return out >= lowest && out <= highest;
}

std::string etag_of(const std::string& body) {
  unsigned long long hash = 14695981039346656037ull;
  for (const char c : body) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char tag[24];
  std::snprintf(tag, sizeof tag, "\"%016llx\"", hash);
  return tag;
}

// Answers with body, or 304 when the client holds it already.
void cacheable(const httplib::Request& req, httplib::Response& res, const std::string& body,
               const char* type, const char* cache) {
  const std::string tag = etag_of(body);
  res.set_header("ETag", tag);
  res.set_header("Cache-Control", cache);
  if (req.get_header_value("If-None-Match") == tag) {
    res.status = 304;
    return;
  }
  res.status = 200;
  res.set_content(body, type);
}

json entry_json(const ENTRY& e) {
  return json{{"rank", e.rank}, {"name", e.name}, {"score", e.score}, {"id", e.id},
              {"date", e.date}};
}

std::string base64url(const std::string& bytes) {
  static const char* const digits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::string out;
  unsigned value = 0;
  int bits = 0;
  for (const char c : bytes) {
    value = (value << 8) | static_cast<unsigned char>(c);
    bits += 8;
    while (bits >= 6) {
      bits -= 6;
      out += digits[(value >> bits) & 63];
    }
  }
  if (bits > 0) out += digits[(value << (6 - bits)) & 63];
  return out;
}

// The board's reads, each kept for a second: a busy board answers most from
// memory. A run kept here forgets them at once; one kept by another board on
// the same database, or a game hidden, shows within the second (the answers
// say max-age=10 anyway).
const auto READ_KEPT = std::chrono::seconds(1);
const size_t MOST_READS_KEPT = 10000;
std::mutex reads_lock;
std::unordered_map<std::string, std::pair<std::chrono::steady_clock::time_point, std::string>>
    reads_kept;

std::string kept_read(const std::string& key, const std::function<std::string()>& make) {
  const auto now = std::chrono::steady_clock::now();
  {
    const std::lock_guard<std::mutex> hold(reads_lock);
    const auto found = reads_kept.find(key);
    if (found != reads_kept.end() && now - found->second.first < READ_KEPT) {
      return found->second.second;
    }
  }
  std::string body = make();
  const std::lock_guard<std::mutex> hold(reads_lock);
  if (reads_kept.size() >= MOST_READS_KEPT) reads_kept.clear();
  reads_kept[key] = {now, body};
  return body;
}

void forget_reads() {
  const std::lock_guard<std::mutex> hold(reads_lock);
  reads_kept.clear();
}

void post_run(BOARD& board, const httplib::Request& req, httplib::Response& res) {
  if (const int wait = board.rate.wait_seconds(req.remote_addr)) {
    res.set_header("Retry-After", std::to_string(wait));
    refuse(res, 429, "too many runs from this address: try again in " + std::to_string(wait) + " s");
    return;
  }
  const std::string authorization = req.get_header_value("Authorization");
  const std::string bearer = "Bearer ";
  const std::string token =
      authorization.rfind(bearer, 0) == 0 ? authorization.substr(bearer.size()) : "";
  if (!good_token(token)) {
    refuse(res, 400, "the run needs Authorization: Bearer TOKEN (16 to 256 of A-Z a-z 0-9 - . _ ~ + / =)");
    return;
  }
  std::string name, why;
  if (!req.has_param("name")) {
    refuse(res, 400, "the run needs ?name=NAME");
    return;
  }
  if (!clean_name(req.get_param_value("name"), name, why)) {
    refuse(res, 400, why);
    return;
  }
  if (req.body.empty()) {
    refuse(res, 400, "the run is empty: send its replay files one after another");
    return;
  }
  if (req.body.rfind("Brinegrab replay\n", 0) != 0) {
    refuse(res, 400, "the run is not Brinegrab replay files");
    return;
  }
  const std::string key = name_key(name);
  const std::string token_hash = sha256_hex(token);
  if (board.store.name_taken(key, token_hash)) {
    refuse(res, 403, "the name is another player's");
    return;
  }
  const CHECK check = board.verifier.check(req.body);
  if (check.outcome == CHECK::BUSY) {
    res.set_header("Retry-After", BUSY_SECONDS);
    refuse(res, 503, "the board is checking as many runs as it can: try again shortly");
    return;
  }
  if (check.outcome == CHECK::FAILED) {
    refuse(res, 422, check.error);
    return;
  }
  json lines = json::array();
  std::string first_problem;
  size_t bytes = 0;
  for (size_t i = 0; i < check.games.size(); ++i) {
    const CHECKED_GAME& g = check.games[i];
    std::string problem = g.ok ? "" : g.reason;
    if (g.ok && g.speed != 100) {
      problem = "it was played slowed down (speed " + std::to_string(g.speed) +
                " %): only games at the game's own speed are ranked";
    }
    if (problem.empty()) {
      lines.push_back(json{{"ok", true}, {"mode", g.mode}, {"score", g.score}});
    } else {
      lines.push_back(json{{"ok", false}, {"reason", problem}});
      if (first_problem.empty()) first_problem = "game " + std::to_string(i + 1) + ": " + problem;
    }
    bytes += g.bytes;
  }
  if (first_problem.empty() && bytes != req.body.size()) first_problem = "the run has bytes past its games";
  if (!first_problem.empty()) {
    answer(res, 422, json{{"error", first_problem}, {"games", lines}});
    return;
  }
  std::vector<NEW_GAME> games;
  size_t at = 0;
  for (const CHECKED_GAME& g : check.games) {
    games.push_back(NEW_GAME{g.mode, g.score, g.frames, g.state, g.digest, req.body.substr(at, g.bytes)});
    at += g.bytes;
  }
  long long run = 0;
  std::vector<long long> ids;
  const STORED stored = board.store.add_run(name, key, token_hash, games, utc_now(), run, ids);
  if (stored == STORED::NAME_TAKEN) {
    refuse(res, 403, "the name is another player's");
    return;
  }
  json list = json::array();
  for (const long long id : ids) {
    ENTRY e;
    if (!board.store.game(id, e)) {
      list.push_back(json{{"id", id}});
      continue;
    }
    list.push_back(json{{"id", e.id}, {"mode", e.mode}, {"score", e.score}, {"rank", e.rank},
                        {"of", e.of}});
  }
  if (stored == STORED::ALL_KNOWN) {
    answer(res, 409, json{{"error", "every game of this run is on the board already"}, {"games", list}});
    return;
  }
  forget_reads();
  answer(res, 201, json{{"run", run}, {"games", list}});
}

void get_board(BOARD& board, const httplib::Request& req, httplib::Response& res) {
  const std::string mode = req.has_param("mode") ? req.get_param_value("mode") : "solo";
  if (mode != "solo" && mode != "multi") {
    refuse(res, 400, "mode is solo or multi");
    return;
  }
  long long limit = 10, offset = 0;
  if (req.has_param("limit") && !whole(req.get_param_value("limit"), 1, MOST_LIMIT, limit)) {
    refuse(res, 400, "limit is 1 to " + std::to_string(MOST_LIMIT));
    return;
  }
  if (req.has_param("offset") && !whole(req.get_param_value("offset"), 0, MOST_OFFSET, offset)) {
    refuse(res, 400, "offset is 0 to " + std::to_string(MOST_OFFSET));
    return;
  }
  const std::string day = req.has_param("day") ? req.get_param_value("day") : "";
  if (req.has_param("day") && !good_day(day)) {
    refuse(res, 400, "day is YYYY-MM-DD");
    return;
  }
  const std::string key = mode + " " + day + " " + std::to_string(limit) + " " + std::to_string(offset);
  const std::string text = kept_read(key, [&] {
    json entries = json::array();
    for (const ENTRY& e : board.store.board(mode, day, static_cast<int>(limit), offset)) {
      entries.push_back(entry_json(e));
    }
    json body{{"mode", mode}, {"entries", entries}};
    if (!day.empty()) body["day"] = day;
    return body.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
  });
  cacheable(req, res, text, "application/json; charset=utf-8", "public, max-age=10");
}

bool game_id(const httplib::Request& req, long long& id) {
  return whole(req.matches[1].str(), 1, 1ll << 62, id);
}

}  // namespace

std::string utc_now() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  gmtime_r(&now, &t);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &t);
  return text;
}

void add_routes(httplib::Server& server, BOARD& board) {
  server.Post("/api/v1/runs", [&board](const httplib::Request& req, httplib::Response& res) {
    post_run(board, req, res);
  });
  server.Get("/api/v1/board", [&board](const httplib::Request& req, httplib::Response& res) {
    get_board(board, req, res);
  });
  server.Get(R"(/api/v1/games/(\d{1,18}))",
             [&board](const httplib::Request& req, httplib::Response& res) {
               long long id = 0;
               ENTRY e;
               if (!game_id(req, id) || !board.store.game(id, e)) {
                 refuse(res, 404, "no such game on the board");
                 return;
               }
               json body = entry_json(e);
               body["mode"] = e.mode;
               body["frames"] = e.frames;
               body["run"] = e.run;
               body["of"] = e.of;
               answer(res, 200, body);
             });
  server.Get(R"(/api/v1/games/(\d{1,18})/replay)",
             [&board](const httplib::Request& req, httplib::Response& res) {
               long long id = 0;
               std::string bytes;
               if (!game_id(req, id) || !board.store.replay(id, bytes)) {
                 refuse(res, 404, "no such game on the board");
                 return;
               }
               res.set_header("Content-Disposition",
                              "attachment; filename=\"brinegrab-" + std::to_string(id) + ".replay\"");
               res.set_content(bytes, "application/octet-stream");
             });
  server.Get("/healthz", [&board](const httplib::Request&, httplib::Response& res) {
    const bool ok = board.store.healthy();
    answer(res, ok ? 200 : 503, json{{"ok", ok}});
  });
  server.Get("/", [&board](const httplib::Request& req, httplib::Response& res) {
    const std::string today = utc_now().substr(0, 10);
    const std::string page = kept_read("page " + today, [&] {
      PAGE_BOARDS b;
      b.today = today;
      b.watch = !board.web.empty();
      b.solo_today = board.store.board("solo", b.today, 10, 0);
      b.solo_all = board.store.board("solo", "", 10, 0);
      b.multi_today = board.store.board("multi", b.today, 10, 0);
      b.multi_all = board.store.board("multi", "", 10, 0);
      return board_page(b);
    });
    res.set_header("Content-Security-Policy",
                   "default-src 'none'; style-src 'unsafe-inline'; frame-ancestors 'none'");
    cacheable(req, res, page, "text/html; charset=utf-8", "public, max-age=10");
  });
  if (!board.web.empty()) {
    server.set_mount_point("/play", board.web);
    // The browser game watches a replay given in its link's fragment.
    server.Get(R"(/watch/(\d{1,18}))", [&board](const httplib::Request& req, httplib::Response& res) {
      long long id = 0;
      std::string bytes;
      if (!game_id(req, id) || !board.store.replay(id, bytes)) {
        refuse(res, 404, "no such game on the board");
        return;
      }
      res.set_redirect("/play/index.html#replay=plain." + base64url(bytes), 302);
    });
  }
  server.Options(R"(/.*)", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Access-Control-Allow-Methods", "GET, POST, OPTIONS");
    res.set_header("Access-Control-Allow-Headers", "Authorization, Content-Type, If-None-Match");
    res.set_header("Access-Control-Max-Age", "600");
    res.status = 204;
  });
  server.set_post_routing_handler([](const httplib::Request&, httplib::Response& res) {
    res.set_header("Access-Control-Allow-Origin", "*");
    res.set_header("Access-Control-Expose-Headers", "ETag, Retry-After");
    res.set_header("X-Content-Type-Options", "nosniff");
  });
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        res.set_header("Retry-After", BUSY_SECONDS);
        refuse(res, 503, "the board's database is not answering: try again shortly");
      });
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return;
    if (res.status == 413) {
      refuse(res, 413, "the run is larger than 1 MiB");
    } else if (res.status == 404) {
      refuse(res, 404, "nothing here");
    } else {
      refuse(res, res.status, "the request is not one the board understands");
    }
  });
}
