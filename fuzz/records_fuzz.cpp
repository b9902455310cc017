// libFuzzer target for the record file: whatever the file holds, the reader
// never fails, agrees with formatted extraction wherever that reads a value,
// and an update leaves exactly the two records in the game's own format and
// nothing else beside them. Built by the fuzz preset, run by scripts/fuzz.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "checks.h"
#include "records.h"

namespace {

// The directory scripts/fuzz made (on tmpfs, so that each save's fsync costs
// nothing), or a new one.
const std::string& directory() {
  static const std::string dir = [] {
    if (const char* given = std::getenv("RECORDS_FUZZ_DIR")) return std::string(given);
    char made[] = "/tmp/brinegrab-fuzz-XXXXXX";
    require(mkdtemp(made) != nullptr);
    return std::string(made);
  }();
  return dir;
}

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int entries(const std::string& dir) {
  DIR* listing = opendir(dir.c_str());
  int count = 0;
  while (const dirent* entry = readdir(listing)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) ++count;
  }
  closedir(listing);
  return count;
}

}  // namespace

// The first byte chooses the mode, the next four the score; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const bool multi = (data[0] & 1) != 0;
  std::int32_t score;
  std::memcpy(&score, data + 1, sizeof score);
  const std::string text(reinterpret_cast<const char*>(data) + 5, size - 5);
  const std::string path = directory() + "/records.dat";
  std::ofstream(path, std::ios::binary) << text;

  const RECORDS before = read_records(path);
  const RECORDS parsed = parse_records(text);
  require(before.solo == parsed.solo && before.multi == parsed.multi);
  std::istringstream extraction(text);
  int value = 0;
  if (extraction >> value) {
    require(before.solo == value);
    if (extraction >> value) require(before.multi == value);
  }

  require(update_records(score, multi, path));
  RECORDS expected = before;
  int& record = multi ? expected.multi : expected.solo;
  if (score > record) record = score;
  require(contents(path) == std::to_string(expected.solo) + " " + std::to_string(expected.multi));
  const RECORDS after = read_records(path);
  require(after.solo == expected.solo && after.multi == expected.multi);
  require(entries(directory()) == 1);  // no temporary file left behind
  unlink(path.c_str());
  return 0;
}
