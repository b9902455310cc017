#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;
class PG_STORE;

// A game as the board shows it.
struct ENTRY {
  long long id = 0, run = 0, score = 0, frames = 0, rank = 0, of = 0;
  std::string mode, name, date;  // date: when it came, in UTC (ISO 8601)
};

// A game a check has played, to be kept.
struct NEW_GAME {
  std::string mode;
  long long score = 0, frames = 0;
  unsigned state = 0;
  std::string digest;  // which game it is
  std::string replay;  // its file
};

enum class STORED { NEW, ALL_KNOWN, NAME_TAKEN };

// The board's games, in an SQLite file (WAL; the schema versioned and
// brought up to date at open), or in PostgreSQL (store_pg.h) when opened with
// a postgresql:// address. Safe to use from many threads: each use takes a
// connection of its own from a pool.
class STORE {
 public:
  // Opens (making it if need be) and migrates; null with why in error.
  static std::unique_ptr<STORE> open(const std::string& path, std::string& error);
  ~STORE();

  // Keeps a run in one transaction: the name is claimed for the token's hash
  // if it is free, refused if another token holds it; games already on the
  // board are not kept twice. ids gets every game's id (the known ones'
  // too), run its run's, when any was new.
  STORED add_run(const std::string& name, const std::string& key, const std::string& token_hash,
                 const std::vector<NEW_GAME>& games, const std::string& now, long long& run,
                 std::vector<long long>& ids);
  // Whether another token's hash holds the name (the cheap look before a check).
  bool name_taken(const std::string& key, const std::string& token_hash);

  // The best games of a mode, of all time or of one UTC day ("" for all).
  std::vector<ENTRY> board(const std::string& mode, const std::string& day, int limit,
                           long long offset);
  // One game that is not hidden, with its rank on the all-time board.
  bool game(long long id, ENTRY& entry);
  bool replay(long long id, std::string& bytes);
  // Hides a game from everything the board shows; false if there is none.
  bool hide(long long id);
  bool healthy();

 private:
  explicit STORE(std::string path);
  sqlite3* take();
  void give_back(sqlite3* db);
  friend struct CONNECTION;

  std::string path;
  std::mutex lock;
  std::vector<sqlite3*> idle;
  std::unique_ptr<PG_STORE> pg;
};
