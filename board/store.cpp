#include "store.h"

#include <sqlite3.h>

#include "store_pg.h"

#include <stdexcept>
#include <utility>

namespace {

// Each step brings the schema from the version before it to its own
// (PRAGMA user_version): a board opens an older file and carries on.
const char* const MIGRATIONS[] = {
    // 1: names owned by a token's hash, runs, and their games with their files.
    "CREATE TABLE names (key TEXT PRIMARY KEY, name TEXT NOT NULL, token_hash TEXT NOT NULL,"
    "  since TEXT NOT NULL);"
    "CREATE TABLE runs (id INTEGER PRIMARY KEY, name_key TEXT NOT NULL REFERENCES names(key),"
    "  at TEXT NOT NULL);"
    "CREATE TABLE games (id INTEGER PRIMARY KEY, run INTEGER NOT NULL REFERENCES runs(id),"
    "  mode TEXT NOT NULL, score INTEGER NOT NULL, frames INTEGER NOT NULL,"
    "  state INTEGER NOT NULL, digest TEXT NOT NULL UNIQUE, day TEXT NOT NULL,"
    "  at TEXT NOT NULL, hidden INTEGER NOT NULL DEFAULT 0, replay BLOB NOT NULL);"
    "CREATE INDEX games_all ON games (mode, hidden, score DESC, id);"
    "CREATE INDEX games_day ON games (mode, day, hidden, score DESC, id);",
};
const int SCHEMA_VERSION = sizeof MIGRATIONS / sizeof MIGRATIONS[0];

struct FAILED : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One statement, its values bound by place from 1.
class STATEMENT {
 public:
  STATEMENT(sqlite3* connection, const char* sql) : db(connection) {
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) throw FAILED(sqlite3_errmsg(db));
  }
  ~STATEMENT() { sqlite3_finalize(s); }
  STATEMENT& text(int i, const std::string& v) {
    sqlite3_bind_text(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  STATEMENT& blob(int i, const std::string& v) {
    sqlite3_bind_blob(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  STATEMENT& number(int i, long long v) {
    sqlite3_bind_int64(s, i, v);
    return *this;
  }
  // True while there is a row.
  bool step() {
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw FAILED(sqlite3_errmsg(db));
  }
  long long number(int column) { return sqlite3_column_int64(s, column); }
  std::string text(int column) {
    const void* p = sqlite3_column_blob(s, column);
    return p == nullptr ? std::string()
                        : std::string(static_cast<const char*>(p),
                                      static_cast<size_t>(sqlite3_column_bytes(s, column)));
  }

 private:
  sqlite3* db;
  sqlite3_stmt* s = nullptr;
};

void run_sql(sqlite3* db, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string why = message != nullptr ? message : "?";
    sqlite3_free(message);
    throw FAILED(why);
  }
}

// A transaction that is rolled back unless committed.
struct TRANSACTION {
  sqlite3* db;
  bool done = false;
  explicit TRANSACTION(sqlite3* d) : db(d) { run_sql(db, "BEGIN IMMEDIATE"); }
  void commit() {
    run_sql(db, "COMMIT");
    done = true;
  }
  ~TRANSACTION() {
    if (!done) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
};

sqlite3* connect(const std::string& path, std::string& error) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    error = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 10000);
  try {
    // WAL: readers never wait for the writer; FULL: a run answered 201 is
    // on the disk, whatever happens to the process or the machine after.
    run_sql(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON");
  } catch (const FAILED& e) {
    error = e.what();
    sqlite3_close(db);
    return nullptr;
  }
  return db;
}

// The page of the board is found in the index alone, then only its rows
// are joined with their names: an offset deep into the board costs a walk
// along the index, not a join for every row passed.
const char* const ALL_TIME =
    "SELECT g.id, g.run, g.mode, n.name, g.score, g.frames, g.at FROM"
    " (SELECT id FROM games WHERE mode = ?1 AND hidden = 0 ORDER BY score DESC, id"
    "  LIMIT ?2 OFFSET ?3) AS top"
    " JOIN games g ON g.id = top.id JOIN runs r ON r.id = g.run"
    " JOIN names n ON n.key = r.name_key ORDER BY g.score DESC, g.id";
const char* const ONE_DAY =
    "SELECT g.id, g.run, g.mode, n.name, g.score, g.frames, g.at FROM"
    " (SELECT id FROM games WHERE mode = ?1 AND day = ?4 AND hidden = 0"
    "  ORDER BY score DESC, id LIMIT ?2 OFFSET ?3) AS top"
    " JOIN games g ON g.id = top.id JOIN runs r ON r.id = g.run"
    " JOIN names n ON n.key = r.name_key ORDER BY g.score DESC, g.id";

ENTRY entry_of(STATEMENT& q) {
  ENTRY e;
  e.id = q.number(0);
  e.run = q.number(1);
  e.mode = q.text(2);
  e.name = q.text(3);
  e.score = q.number(4);
  e.frames = q.number(5);
  e.date = q.text(6);
  return e;
}

void add_rank(sqlite3* db, ENTRY& e) {
  STATEMENT rank(db,
                 "SELECT count(*) FROM games WHERE mode = ?1 AND hidden = 0"
                 " AND (score > ?2 OR (score = ?2 AND id < ?3))");
  rank.text(1, e.mode).number(2, e.score).number(3, e.id);
  rank.step();
  e.rank = rank.number(0) + 1;
  STATEMENT of(db, "SELECT count(*) FROM games WHERE mode = ?1 AND hidden = 0");
  of.text(1, e.mode);
  of.step();
  e.of = of.number(0);
}

}  // namespace

// A connection of the pool, given back when done with.
struct CONNECTION {
  STORE& store;
  sqlite3* db;
  explicit CONNECTION(STORE& s) : store(s), db(s.take()) {}
  ~CONNECTION() { store.give_back(db); }
};

STORE::STORE(std::string p) : path(std::move(p)) {}

STORE::~STORE() {
  for (sqlite3* db : idle) sqlite3_close(db);
}

std::unique_ptr<STORE> STORE::open(const std::string& path, std::string& error) {
  if (path.rfind("postgresql://", 0) == 0 || path.rfind("postgres://", 0) == 0) {
    std::unique_ptr<PG_STORE> pg = PG_STORE::open(path, error);
    if (!pg) return nullptr;
    std::unique_ptr<STORE> store(new STORE(path));
    store->pg = std::move(pg);
    return store;
  }
  sqlite3* db = connect(path, error);
  if (db == nullptr) return nullptr;
  std::unique_ptr<STORE> store(new STORE(path));
  try {
    STATEMENT version(db, "PRAGMA user_version");
    version.step();
    const long long at = version.number(0);
    if (at > SCHEMA_VERSION) {
      throw FAILED("the database was made by a newer board (schema " + std::to_string(at) + ")");
    }
    for (long long v = at; v < SCHEMA_VERSION; ++v) {
      TRANSACTION t(db);
      run_sql(db, MIGRATIONS[v]);
      run_sql(db, ("PRAGMA user_version = " + std::to_string(v + 1)).c_str());
      t.commit();
    }
  } catch (const FAILED& e) {
    error = e.what();
    sqlite3_close(db);
    return nullptr;
  }
  store->idle.push_back(db);
  return store;
}

sqlite3* STORE::take() {
  {
    const std::lock_guard<std::mutex> hold(lock);
    if (!idle.empty()) {
      sqlite3* db = idle.back();
      idle.pop_back();
      return db;
    }
  }
  std::string error;
  sqlite3* db = connect(path, error);
  if (db == nullptr) throw FAILED(error);
  return db;
}

void STORE::give_back(sqlite3* db) {
  const std::lock_guard<std::mutex> hold(lock);
  idle.push_back(db);
}

bool STORE::name_taken(const std::string& key, const std::string& token_hash) {
  if (pg) return pg->name_taken(key, token_hash);
  CONNECTION c(*this);
  STATEMENT q(c.db, "SELECT token_hash FROM names WHERE key = ?1");
  q.text(1, key);
  return q.step() && q.text(0) != token_hash;
}

STORED STORE::add_run(const std::string& name, const std::string& key,
                      const std::string& token_hash, const std::vector<NEW_GAME>& games,
                      const std::string& now, long long& run, std::vector<long long>& ids) {
  if (pg) return pg->add_run(name, key, token_hash, games, now, run, ids);
  CONNECTION c(*this);
  TRANSACTION t(c.db);
  {
    STATEMENT owner(c.db, "SELECT token_hash FROM names WHERE key = ?1");
    owner.text(1, key);
    if (owner.step()) {
      if (owner.text(0) != token_hash) return STORED::NAME_TAKEN;
    } else {
      STATEMENT claim(c.db, "INSERT INTO names (key, name, token_hash, since) VALUES (?1, ?2, ?3, ?4)");
      claim.text(1, key).text(2, name).text(3, token_hash).text(4, now).step();
    }
  }
  ids.clear();
  std::vector<size_t> fresh;
  for (size_t i = 0; i < games.size(); ++i) {
    STATEMENT known(c.db, "SELECT id FROM games WHERE digest = ?1");
    known.text(1, games[i].digest);
    if (known.step()) {
      ids.push_back(known.number(0));
    } else {
      ids.push_back(0);
      fresh.push_back(i);
    }
  }
  if (fresh.empty()) return STORED::ALL_KNOWN;
  STATEMENT add(c.db, "INSERT INTO runs (name_key, at) VALUES (?1, ?2)");
  add.text(1, key).text(2, now).step();
  run = sqlite3_last_insert_rowid(c.db);
  for (const size_t i : fresh) {
    const NEW_GAME& g = games[i];
    STATEMENT insert(c.db,
                     "INSERT INTO games (run, mode, score, frames, state, digest, day, at, replay)"
                     " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    insert.number(1, run).text(2, g.mode).number(3, g.score).number(4, g.frames);
    insert.number(5, g.state).text(6, g.digest).text(7, now.substr(0, 10)).text(8, now);
    insert.blob(9, g.replay).step();
    ids[i] = sqlite3_last_insert_rowid(c.db);
  }
  t.commit();
  return STORED::NEW;
}

std::vector<ENTRY> STORE::board(const std::string& mode, const std::string& day, int limit,
                                long long offset) {
  if (pg) return pg->board(mode, day, limit, offset);
  CONNECTION c(*this);
  STATEMENT q(c.db, day.empty() ? ALL_TIME : ONE_DAY);
  q.text(1, mode).number(2, limit).number(3, offset);
  if (!day.empty()) q.text(4, day);
  std::vector<ENTRY> entries;
  while (q.step()) {
    entries.push_back(entry_of(q));
    entries.back().rank = offset + static_cast<long long>(entries.size());
  }
  return entries;
}

bool STORE::game(long long id, ENTRY& e) {
  if (pg) return pg->game(id, e);
  CONNECTION c(*this);
  STATEMENT q(c.db,
              "SELECT g.id, g.run, g.mode, n.name, g.score, g.frames, g.at FROM games g"
              " JOIN runs r ON r.id = g.run JOIN names n ON n.key = r.name_key"
              " WHERE g.id = ?1 AND g.hidden = 0");
  q.number(1, id);
  if (!q.step()) return false;
  e = entry_of(q);
  add_rank(c.db, e);
  return true;
}

bool STORE::replay(long long id, std::string& bytes) {
  if (pg) return pg->replay(id, bytes);
  CONNECTION c(*this);
  STATEMENT q(c.db, "SELECT replay FROM games WHERE id = ?1 AND hidden = 0");
  q.number(1, id);
  if (!q.step()) return false;
  bytes = q.text(0);
  return true;
}

bool STORE::hide(long long id) {
  if (pg) return pg->hide(id);
  CONNECTION c(*this);
  STATEMENT q(c.db, "UPDATE games SET hidden = 1 WHERE id = ?1");
  q.number(1, id).step();
  return sqlite3_changes(c.db) > 0;
}

bool STORE::healthy() {
  if (pg) return pg->healthy();
  try {
    CONNECTION c(*this);
    STATEMENT q(c.db, "SELECT 1");
    return q.step();
  } catch (const FAILED&) {
    return false;
  }
}
