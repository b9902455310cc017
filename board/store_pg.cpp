#include "store_pg.h"

#include <libpq-fe.h>

#include <stdexcept>
#include <utility>

namespace {

const char* const MIGRATIONS[] = {
    // 1: names owned by a token's hash, runs, and their games with their files.
    "CREATE TABLE names (key TEXT PRIMARY KEY, name TEXT NOT NULL, token_hash TEXT NOT NULL,"
    "  since TEXT NOT NULL);"
    "CREATE TABLE runs (id BIGSERIAL PRIMARY KEY, name_key TEXT NOT NULL REFERENCES names(key),"
    "  at TEXT NOT NULL);"
    "CREATE TABLE games (id BIGSERIAL PRIMARY KEY, run BIGINT NOT NULL REFERENCES runs(id),"
    "  mode TEXT NOT NULL, score BIGINT NOT NULL, frames BIGINT NOT NULL,"
    "  state BIGINT NOT NULL, digest TEXT NOT NULL UNIQUE, day TEXT NOT NULL,"
    "  at TEXT NOT NULL, hidden INTEGER NOT NULL DEFAULT 0, replay BYTEA NOT NULL);"
    "CREATE INDEX games_all ON games (mode, hidden, score DESC, id);"
    "CREATE INDEX games_day ON games (mode, day, hidden, score DESC, id);",
};
const int SCHEMA_VERSION = sizeof MIGRATIONS / sizeof MIGRATIONS[0];
// The advisory lock the boards migrate under.
const char* const MIGRATION_LOCK = "SELECT pg_advisory_lock(3100031)";

struct FAILED : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A result, cleared when done with.
class RESULT {
 public:
  explicit RESULT(PGresult* result) : r(result) {}
  RESULT(const RESULT&) = delete;
  ~RESULT() { PQclear(r); }
  int rows() const { return PQntuples(r); }
  std::string text(int row, int column) const {
    return std::string(PQgetvalue(r, row, column), static_cast<size_t>(PQgetlength(r, row, column)));
  }
  long long number(int row, int column) const { return std::stoll(text(row, column)); }

 private:
  PGresult* r;
};

// Runs sql with its parameters as text (a parameter given as binary where
// binary[i] is set); the result binary when asked.
PGresult* run(pg_conn* db, const char* sql, const std::vector<std::string>& values,
              const std::vector<int>& binary = {}, bool binary_result = false) {
  std::vector<const char*> pointers;
  std::vector<int> lengths, formats;
  for (size_t i = 0; i < values.size(); ++i) {
    pointers.push_back(values[i].data());
    lengths.push_back(static_cast<int>(values[i].size()));
    formats.push_back(i < binary.size() ? binary[i] : 0);
  }
  PGresult* r = PQexecParams(db, sql, static_cast<int>(values.size()), nullptr, pointers.data(),
                             lengths.data(), formats.data(), binary_result ? 1 : 0);
  const ExecStatusType status = PQresultStatus(r);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    const std::string why = PQerrorMessage(db);
    PQclear(r);
    throw FAILED(why);
  }
  return r;
}

// Runs statements without parameters, several at once if need be.
void run_sql(pg_conn* db, const char* sql) {
  PGresult* r = PQexec(db, sql);
  const ExecStatusType status = PQresultStatus(r);
  PQclear(r);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) throw FAILED(PQerrorMessage(db));
}

pg_conn* connect(const std::string& address, std::string& error) {
  pg_conn* db = PQconnectdb(address.c_str());
  if (PQstatus(db) != CONNECTION_OK) {
    error = PQerrorMessage(db);
    PQfinish(db);
    return nullptr;
  }
  // The server's notices ("already exists, skipping") are not the operator's business.
  PQsetNoticeProcessor(db, [](void*, const char*) {}, nullptr);
  return db;
}

const char* const ENTRY_COLUMNS =
    "SELECT g.id, g.run, g.mode, n.name, g.score, g.frames, g.at FROM games g"
    " JOIN runs r ON r.id = g.run JOIN names n ON n.key = r.name_key";

ENTRY entry_of(const RESULT& q, int row) {
  ENTRY e;
  e.id = q.number(row, 0);
  e.run = q.number(row, 1);
  e.mode = q.text(row, 2);
  e.name = q.text(row, 3);
  e.score = q.number(row, 4);
  e.frames = q.number(row, 5);
  e.date = q.text(row, 6);
  return e;
}

}  // namespace

// A connection of the pool; one that failed is closed instead of given back.
struct PG_CONNECTION {
  PG_STORE& store;
  pg_conn* db;
  explicit PG_CONNECTION(PG_STORE& s) : store(s), db(s.take()) {}
  ~PG_CONNECTION() { store.give_back(db, PQstatus(db) == CONNECTION_OK); }
};

PG_STORE::PG_STORE(std::string a) : address(std::move(a)) {}

PG_STORE::~PG_STORE() {
  for (pg_conn* db : idle) PQfinish(db);
}

std::unique_ptr<PG_STORE> PG_STORE::open(const std::string& address, std::string& error) {
  pg_conn* db = connect(address, error);
  if (db == nullptr) return nullptr;
  std::unique_ptr<PG_STORE> store(new PG_STORE(address));
  try {
    run_sql(db, MIGRATION_LOCK);
    run_sql(db, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    const RESULT version(run(db, "SELECT coalesce(max(version), 0) FROM schema_version", {}));
    const long long at = version.number(0, 0);
    if (at > SCHEMA_VERSION) {
      throw FAILED("the database was made by a newer board (schema " + std::to_string(at) + ")");
    }
    for (long long v = at; v < SCHEMA_VERSION; ++v) {
      run_sql(db, "BEGIN");
      run_sql(db, MIGRATIONS[v]);
      PQclear(run(db, "INSERT INTO schema_version (version) VALUES ($1)", {std::to_string(v + 1)}));
      run_sql(db, "COMMIT");
    }
    run_sql(db, "SELECT pg_advisory_unlock(3100031)");
  } catch (const FAILED& e) {
    error = e.what();
    PQfinish(db);
    return nullptr;
  }
  store->idle.push_back(db);
  return store;
}

pg_conn* PG_STORE::take() {
  {
    const std::lock_guard<std::mutex> hold(lock);
    if (!idle.empty()) {
      pg_conn* db = idle.back();
      idle.pop_back();
      return db;
    }
  }
  std::string error;
  pg_conn* db = connect(address, error);
  if (db == nullptr) throw FAILED(error);
  return db;
}

void PG_STORE::give_back(pg_conn* db, bool sound) {
  if (!sound) {
    PQfinish(db);
    return;
  }
  const std::lock_guard<std::mutex> hold(lock);
  idle.push_back(db);
}

bool PG_STORE::name_taken(const std::string& key, const std::string& token_hash) {
  PG_CONNECTION c(*this);
  const RESULT q(run(c.db, "SELECT token_hash FROM names WHERE key = $1", {key}));
  return q.rows() > 0 && q.text(0, 0) != token_hash;
}

STORED PG_STORE::add_run(const std::string& name, const std::string& key,
                         const std::string& token_hash, const std::vector<NEW_GAME>& games,
                         const std::string& now, long long& run_id, std::vector<long long>& ids) {
  PG_CONNECTION c(*this);
  run_sql(c.db, "BEGIN");
  try {
    PQclear(run(c.db,
                "INSERT INTO names (key, name, token_hash, since) VALUES ($1, $2, $3, $4)"
                " ON CONFLICT (key) DO NOTHING",
                {key, name, token_hash, now}));
    const RESULT owner(run(c.db, "SELECT token_hash FROM names WHERE key = $1", {key}));
    if (owner.text(0, 0) != token_hash) {
      run_sql(c.db, "ROLLBACK");
      return STORED::NAME_TAKEN;
    }
    const RESULT added(
        run(c.db, "INSERT INTO runs (name_key, at) VALUES ($1, $2) RETURNING id", {key, now}));
    run_id = added.number(0, 0);
    ids.clear();
    bool any = false;
    for (const NEW_GAME& g : games) {
      const RESULT inserted(run(
          c.db,
          "INSERT INTO games (run, mode, score, frames, state, digest, day, at, replay)"
          " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9) ON CONFLICT (digest) DO NOTHING"
          " RETURNING id",
          {std::to_string(run_id), g.mode, std::to_string(g.score), std::to_string(g.frames),
           std::to_string(g.state), g.digest, now.substr(0, 10), now, g.replay},
          {0, 0, 0, 0, 0, 0, 0, 0, 1}));
      if (inserted.rows() > 0) {
        ids.push_back(inserted.number(0, 0));
        any = true;
      } else {
        const RESULT known(run(c.db, "SELECT id FROM games WHERE digest = $1", {g.digest}));
        ids.push_back(known.rows() > 0 ? known.number(0, 0) : 0);
      }
    }
    run_sql(c.db, any ? "COMMIT" : "ROLLBACK");
    return any ? STORED::NEW : STORED::ALL_KNOWN;
  } catch (...) {
    PQclear(PQexec(c.db, "ROLLBACK"));
    throw;
  }
}

std::vector<ENTRY> PG_STORE::board(const std::string& mode, const std::string& day, int limit,
                                   long long offset) {
  PG_CONNECTION c(*this);
  // The page found in the index alone, then only its rows joined.
  const std::string sql =
      "SELECT g.id, g.run, g.mode, n.name, g.score, g.frames, g.at FROM"
      " (SELECT id FROM games WHERE mode = $1 AND hidden = 0" +
      std::string(day.empty() ? "" : " AND day = $4") +
      " ORDER BY score DESC, id LIMIT $2 OFFSET $3) AS top"
      " JOIN games g ON g.id = top.id JOIN runs r ON r.id = g.run"
      " JOIN names n ON n.key = r.name_key ORDER BY g.score DESC, g.id";
  std::vector<std::string> values{mode, std::to_string(limit), std::to_string(offset)};
  if (!day.empty()) values.push_back(day);
  const RESULT q(run(c.db, sql.c_str(), values));
  std::vector<ENTRY> entries;
  for (int row = 0; row < q.rows(); ++row) {
    entries.push_back(entry_of(q, row));
    entries.back().rank = offset + row + 1;
  }
  return entries;
}

bool PG_STORE::game(long long id, ENTRY& e) {
  PG_CONNECTION c(*this);
  const std::string sql = std::string(ENTRY_COLUMNS) + " WHERE g.id = $1 AND g.hidden = 0";
  const RESULT q(run(c.db, sql.c_str(), {std::to_string(id)}));
  if (q.rows() == 0) return false;
  e = entry_of(q, 0);
  const RESULT rank(run(c.db,
                        "SELECT count(*) FROM games WHERE mode = $1 AND hidden = 0"
                        " AND (score > $2 OR (score = $2 AND id < $3))",
                        {e.mode, std::to_string(e.score), std::to_string(e.id)}));
  e.rank = rank.number(0, 0) + 1;
  const RESULT of(run(c.db, "SELECT count(*) FROM games WHERE mode = $1 AND hidden = 0", {e.mode}));
  e.of = of.number(0, 0);
  return true;
}

bool PG_STORE::replay(long long id, std::string& bytes) {
  PG_CONNECTION c(*this);
  const RESULT q(run(c.db, "SELECT replay FROM games WHERE id = $1 AND hidden = 0",
                     {std::to_string(id)}, {}, true));
  if (q.rows() == 0) return false;
  bytes = q.text(0, 0);
  return true;
}

bool PG_STORE::hide(long long id) {
  PG_CONNECTION c(*this);
  const RESULT q(run(c.db, "UPDATE games SET hidden = 1 WHERE id = $1 RETURNING id",
                     {std::to_string(id)}));
  return q.rows() > 0;
}

bool PG_STORE::healthy() {
  try {
    PG_CONNECTION c(*this);
    const RESULT q(run(c.db, "SELECT 1", {}));
    return q.rows() == 1;
  } catch (const FAILED&) {
    return false;
  }
}
