#pragma once
#include <functional>
#include <string>

#include "platform/records_location.h"  // RECORDS_FILE

// The record file: two decimal numbers separated by a blank, the solo record
// and the two-player record.

struct RECORDS {
  int solo = 0;
  int multi = 0;
};

// The records a text holds. Each value is read as formatted extraction reads
// an int (blanks, an optional sign, digits), but on its own: a number out of
// int's range counts as 0 and the value after it is still read. Text that is
// not a number ends the reading, so it and everything after it count as 0
// (which of the two fields a word after garbage was meant for cannot be told).
RECORDS parse_records(const std::string& text);

// Reads the records. A missing or unreadable file counts as 0 and 0. A file
// that is not a regular one (a pipe, a directory, a device) is never opened
// blocking: it counts as 0 and 0, is left alone and is reported on stderr.
RECORDS read_records(const std::string& path = RECORDS_FILE);

// Replaces the file's records with these, all or nothing, under the lock
// that every game takes to change the file (see record_file.h for how).
// Returns whether they were saved; if not, one line on stderr names the file
// (in full) and the reason. A file that exists but cannot be read, or whose
// lock another game holds for two seconds, is not saved.
bool write_records(const RECORDS& records, const std::string& path = RECORDS_FILE);

// After a game: in one locked step, reads the records, raises the record of
// the mode played if the score beats it, and writes the file either way.
// Concurrent games therefore never lose each other's records. `raised`, if
// given, runs under the same lock once this score is the saved record.
bool update_records(int score, bool multi, const std::string& path = RECORDS_FILE,
                    const std::function<void()>& raised = nullptr);
