#include "records.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/catalog.h"
#include "platform/quoted.h"
#include "platform/say.h"
#include "record_file.h"

namespace {

bool is_blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// One value from `at` on. Returns false, reading nothing, where no number
// stands; an out-of-range number reads as 0 but its digits are passed over.
bool parse_value(const std::string& text, size_t& at, int& value) {
  size_t i = at;
  while (i < text.size() && is_blank(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  if (i >= text.size() || !is_digit(text[i])) return false;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long magnitude = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    if (magnitude <= limit) magnitude = magnitude * 10 + (text[i] - '0');
  }
  value = magnitude > limit ? 0 : static_cast<int>(negative ? -magnitude : magnitude);
  at = i;
  return true;
}

std::string text_of(const RECORDS& records) {
  return std::to_string(records.solo) + " " + std::to_string(records.multi);
}

// The path as a player can find it from anywhere: messages name the file
// in full, whatever directory the game was started in.
std::string full_path(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  std::vector<char> cwd(4096);
  if (getcwd(cwd.data(), cwd.size()) == nullptr) return path;
  return std::string(cwd.data()) + "/" + path;
}

bool save(const std::string& path, const std::function<RECORDS(RECORDS)>& change,
          const std::function<void()>& while_locked = nullptr) {
  const record_file::CHANGED changed = record_file::change(
      path, [&](const std::string& old_text) { return text_of(change(parse_records(old_text))); },
      while_locked);
  const std::string where = full_path(path);
  const std::string why = record_file::describe(changed.error);
  if (changed.error == record_file::LOCKED) {
    // {1} is the record file.
    say(fill(tr("cannot save the records: {1} is locked by another game"), {quoted(where)}));
  } else if (changed.reading) {
    // {1} is the record file, {2} why it cannot be read.
    say(fill(tr("cannot read the records in {1}: {2}; the file is left alone, this game is not "
                "saved"),
             {quoted(where), why}));
  } else if (changed.error != 0) {
    // {1} is the record file, {2} why it cannot be saved.
    say(fill(tr("cannot save the records in {1}: {2}"), {quoted(where), why}));
  }
  return changed.error == 0;
}

}  // namespace

RECORDS parse_records(const std::string& text) {
  RECORDS records;
  size_t at = 0;
  if (parse_value(text, at, records.solo)) parse_value(text, at, records.multi);
  return records;
}

RECORDS read_records(const std::string& path) {
  std::string text;
  if (record_file::read_text(path, text) == record_file::NOT_REGULAR) {
    // {1} is the record file.
    say(fill(tr("{1} is not a regular file: read as no records, left alone"),
             {quoted(full_path(path))}));
  }
  return parse_records(text);
}

bool write_records(const RECORDS& records, const std::string& path) {
  return save(path, [&](RECORDS) { return records; });
}

bool update_records(int score, bool multi, const std::string& path,
                    const std::function<void()>& raised) {
  bool beaten = false;
  return save(
      path,
      [&](RECORDS records) {
        int& record = multi ? records.multi : records.solo;
        beaten = score > record;
        if (beaten) record = score;
        return records;
      },
      [&] {
        if (beaten && raised) raised();
      });
}
