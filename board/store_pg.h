#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "store.h"

struct pg_conn;

// The board's games in PostgreSQL (libpq), for several boards behind a load
// balancer: the same interface as STORE, which hands every call to it when
// the database is a postgresql:// address. The schema is versioned in a table
// of its own and brought up to date at open, under an advisory lock, so
// boards started together migrate it once.
class PG_STORE {
 public:
  static std::unique_ptr<PG_STORE> open(const std::string& address, std::string& error);
  ~PG_STORE();

  STORED add_run(const std::string& name, const std::string& key, const std::string& token_hash,
                 const std::vector<NEW_GAME>& games, const std::string& now, long long& run,
                 std::vector<long long>& ids);
  bool name_taken(const std::string& key, const std::string& token_hash);
  std::vector<ENTRY> board(const std::string& mode, const std::string& day, int limit,
                           long long offset);
  bool game(long long id, ENTRY& entry);
  bool replay(long long id, std::string& bytes);
  bool hide(long long id);
  bool healthy();

 private:
  explicit PG_STORE(std::string address);
  pg_conn* take();
  void give_back(pg_conn* db, bool sound);
  friend struct PG_CONNECTION;

  std::string address;
  std::mutex lock;
  std::vector<pg_conn*> idle;
};
