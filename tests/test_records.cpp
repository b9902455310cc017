// The record file: its format, the update rule and keeping the records safe
// when the file is damaged or cannot be replaced.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "harness.h"
#include "records.h"

namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class RECORD_FILE : public ::testing::Test {
 protected:
  harness::GAME_DIR_COPY dir;
};

}  // namespace

TEST_F(RECORD_FILE, WithNoFileEachModeStartsFromZero) {
  EXPECT_TRUE(update_records(1234, false));
  EXPECT_EQ(contents("records.dat"), "1234 0");
  std::filesystem::remove("records.dat");
  EXPECT_TRUE(update_records(1234, true));
  EXPECT_EQ(contents("records.dat"), "0 1234");
}

TEST_F(RECORD_FILE, OnlyTheRecordOfTheModePlayedChanges) {
  write_file("records.dat", "500 700");
  update_records(600, false);
  EXPECT_EQ(contents("records.dat"), "600 700");
  update_records(650, true);
  EXPECT_EQ(contents("records.dat"), "600 700");
  update_records(701, true);
  EXPECT_EQ(contents("records.dat"), "600 701");
}

TEST_F(RECORD_FILE, AnEqualScoreChangesNothingButTheFileIsRewritten) {
  write_file("records.dat", "  500\n\t700\n");
  EXPECT_TRUE(update_records(500, false));
  EXPECT_EQ(contents("records.dat"), "500 700");
}

TEST_F(RECORD_FILE, AnyWhitespaceMaySeparateTheValues) {
  for (const char* text : {"1 2", "\n1\n2\n", "1\t\t2", "   1    2   ", "1\r\n2"}) {
    write_file("records.dat", text);
    const RECORDS r = read_records();
    EXPECT_EQ(r.solo, 1) << text;
    EXPECT_EQ(r.multi, 2) << text;
  }
}

TEST_F(RECORD_FILE, DamagedValuesCountAsZero) {
  struct CASE {
    const char* text;
    int solo, multi;
  };
  for (const CASE& c :
       {CASE{"", 0, 0}, CASE{"garbage", 0, 0}, CASE{"12 abc", 12, 0}, CASE{"abc 12", 0, 0},
        CASE{"99999999999 5", 0, 0}, CASE{"5 2147483648", 5, 0},
        CASE{"2147483647 -2147483648", INT_MAX, INT_MIN}, CASE{"-40 7", -40, 7}, CASE{"7", 7, 0},
        CASE{"3 4 junk", 3, 4}}) {
    write_file("records.dat", c.text);
    const RECORDS r = read_records();
    EXPECT_EQ(r.solo, c.solo) << "'" << c.text << "'";
    EXPECT_EQ(r.multi, c.multi) << "'" << c.text << "'";
  }
  write_file("records.dat", "-40 7");
  update_records(0, false);
  EXPECT_EQ(contents("records.dat"), "0 7") << "any score beats a negative record";
  write_file("records.dat", "99999999999 5");
  update_records(10, false);
  EXPECT_EQ(contents("records.dat"), "10 0");
}

TEST_F(RECORD_FILE, ARecordFileThatCannotBeReplacedIsLeftAlone) {
  std::filesystem::create_directory("records.dat");
  EXPECT_FALSE(update_records(100, false));
  EXPECT_TRUE(std::filesystem::is_directory("records.dat"));
  EXPECT_FALSE(std::filesystem::exists("records.dat.new")) << "no temporary file is left behind";
  const RECORDS r = read_records();
  EXPECT_EQ(r.solo, 0);
}

TEST_F(RECORD_FILE, AFailedWriteKeepsTheOldRecords) {
  write_file("records.dat", "300 400");
  // As on a full disk: no file may grow past one byte.
  struct sigaction ignore = {}, old_action = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &old_action);
  rlimit old_limit;
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit tiny = old_limit;
  tiny.rlim_cur = 1;
  setrlimit(RLIMIT_FSIZE, &tiny);
  const bool written = update_records(1000, false);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  sigaction(SIGXFSZ, &old_action, nullptr);
  EXPECT_FALSE(written);
  EXPECT_EQ(contents("records.dat"), "300 400");
  EXPECT_FALSE(std::filesystem::exists("records.dat.new"));
}

TEST_F(RECORD_FILE, AReadOnlyDirectoryKeepsTheOldRecords) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
  write_file("records.dat", "300 400");
  std::filesystem::permissions(
      ".", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_FALSE(update_records(1000, false));
  std::filesystem::permissions(".", std::filesystem::perms::owner_all);
  EXPECT_EQ(contents("records.dat"), "300 400");
}
