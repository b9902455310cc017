#pragma once
#include <chrono>
#include <map>
#include <mutex>
#include <string>

// So many submissions a minute from one address, kept in memory only (the
// board stores no address). A bucket of rate tokens per address, refilled
// over a minute.
class RATE_LIMIT {
 public:
  explicit RATE_LIMIT(int per_minute) : rate(per_minute) {}
  // 0 when this address may go on now; otherwise the seconds to wait.
  int wait_seconds(const std::string& address);

 private:
  struct BUCKET {
    double tokens;
    std::chrono::steady_clock::time_point at;
  };
  int rate;
  std::mutex lock;
  std::map<std::string, BUCKET> buckets;
};
