#pragma once
#include <string>

// The record file: two decimal numbers separated by a blank, the solo record
// and the two-player record.
const char* const RECORDS_FILE = "records.dat";

struct RECORDS {
  int solo = 0;
  int multi = 0;
};

// Reads the records. A missing file, or a value that cannot be read (not a
// number, or out of range), counts as 0; a value after one that cannot be
// read is not read either.
RECORDS read_records(const std::string& path = RECORDS_FILE);

// Replaces the file with these records, all or nothing: the text goes to a
// temporary file beside it that is then renamed over it, so a failed write
// leaves the old records as they were. Returns whether the file was replaced.
bool write_records(const RECORDS& records, const std::string& path = RECORDS_FILE);

// After a game: the record of the mode played is raised if the score beats
// it, and the file is rewritten either way.
bool update_records(int score, bool multi, const std::string& path = RECORDS_FILE);
