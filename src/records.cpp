#include "records.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// One formatted number; fails on anything that is not a number in int's range.
bool read_value(std::istream& in, int& value) {
  long long wide = 0;
  if (!(in >> wide) || wide < INT_MIN || wide > INT_MAX) return false;
  value = static_cast<int>(wide);
  return true;
}

}  // namespace

RECORDS read_records(const std::string& path) {
  RECORDS records;
  std::ifstream in(path);
  if (read_value(in, records.solo)) read_value(in, records.multi);
  return records;
}

bool write_records(const RECORDS& records, const std::string& path) {
  const std::string text = std::to_string(records.solo) + " " + std::to_string(records.multi);
  const std::string temp = path + ".new";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  ok = std::fflush(file) == 0 && ok;
  ok = fsync(fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

bool update_records(int score, bool multi, const std::string& path) {
  RECORDS records = read_records(path);
  int& record = multi ? records.multi : records.solo;
  if (score > record) record = score;
  return write_records(records, path);
}
