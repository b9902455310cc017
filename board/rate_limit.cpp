#include "rate_limit.h"

#include <cmath>

int RATE_LIMIT::wait_seconds(const std::string& address) {
  if (rate <= 0) return 0;
  const auto now = std::chrono::steady_clock::now();
  const std::lock_guard<std::mutex> hold(lock);
  // Full buckets are forgotten now and then: memory stays bounded by the
  // addresses of the last minute.
  if (buckets.size() > 100000) {
    for (auto i = buckets.begin(); i != buckets.end();) {
      i = now - i->second.at > std::chrono::minutes(1) ? buckets.erase(i) : std::next(i);
    }
  }
  auto found = buckets.find(address);
  if (found == buckets.end()) {
    found = buckets.emplace(address, BUCKET{static_cast<double>(rate), now}).first;
  }
  BUCKET& b = found->second;
  const double minutes = std::chrono::duration<double>(now - b.at).count() / 60.0;
  b.tokens = std::min(static_cast<double>(rate), b.tokens + minutes * rate);
  b.at = now;
  if (b.tokens >= 1) {
    b.tokens -= 1;
    return 0;
  }
  return static_cast<int>(std::ceil((1 - b.tokens) * 60.0 / rate));
}
