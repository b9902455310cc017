// The record file: its format, the update rule, keeping the records safe
// when the file is damaged, shared, linked or cannot be replaced, and where
// the records live.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>

#include "game_fixture.h"
#include "harness.h"
#include "platform/records_location.h"
#include "platform/signals.h"
#include "records.h"
#include "replay_files.h"
#include "settings.h"

namespace {

using harness::file_text;

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

int mode_of(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

struct PLAYED {
  std::string out;     // what the step returned
  std::string errors;  // what it printed on stderr
};

// Runs a step in a child process as an ordinary player would, in the test's
// directory: root may write anywhere, so a child of root becomes nobody. A
// step that blocks is ended after five seconds.
PLAYED as_player(const std::function<std::string()>& step) {
  int out[2], errors[2];
  if (pipe(out) != 0 || pipe(errors) != 0) return {"no pipe", ""};
  const pid_t child = fork();
  if (child == 0) {
    alarm(5);
    dup2(errors[1], STDERR_FILENO);
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
      _exit(2);
    }
    const std::string text = step();
    const bool written = write(out[1], text.data(), text.size()) == ssize_t(text.size());
    _exit(written ? 0 : 3);
  }
  close(out[1]);
  close(errors[1]);
  PLAYED played;
  char buffer[512];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) played.out.append(buffer, n);
  for (ssize_t n; (n = read(errors[0], buffer, sizeof buffer)) > 0;)
    played.errors.append(buffer, n);
  close(out[0]);
  close(errors[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    played.out += " (the player's process failed with status " + std::to_string(status) + ")";
  }
  return played;
}

// The same, in a directory of its own that the player makes and works in:
// one for each case of a table.
PLAYED as_player_in(const std::string& dir, const std::function<std::string()>& step) {
  return as_player([&] {
    std::filesystem::create_directory(dir);
    std::filesystem::current_path(dir);
    return step();
  });
}

class RECORD_FILE : public ::testing::Test {
 protected:
  // The player's steps work in the test's directory.
  void SetUp() override { std::filesystem::permissions(".", std::filesystem::perms::all); }
  // What a player left read-only is made removable again.
  void TearDown() override {
    namespace fs = std::filesystem;
    fs::permissions(".", fs::perms::owner_all, fs::perm_options::add);
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(".")) {
      if (!entry.is_symlink(ec) && entry.is_directory(ec)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
      }
    }
  }

  harness::GAME_DIR_COPY dir;
};

}  // namespace

TEST_F(RECORD_FILE, WithNoFileEachModeStartsFromZero) {
  EXPECT_TRUE(update_records(1234, false));
  EXPECT_EQ(file_text("records.dat"), "1234 0");
  std::filesystem::remove("records.dat");
  EXPECT_TRUE(update_records(1234, true));
  EXPECT_EQ(file_text("records.dat"), "0 1234");
}

TEST_F(RECORD_FILE, OnlyTheRecordOfTheModePlayedChanges) {
  write_file("records.dat", "500 700");
  update_records(600, false);
  EXPECT_EQ(file_text("records.dat"), "600 700");
  update_records(650, true);
  EXPECT_EQ(file_text("records.dat"), "600 700");
  update_records(701, true);
  EXPECT_EQ(file_text("records.dat"), "600 701");
}

TEST_F(RECORD_FILE, AnEqualScoreChangesNothingButTheFileIsRewritten) {
  write_file("records.dat", "  500\n\t700\n");
  EXPECT_TRUE(update_records(500, false));
  EXPECT_EQ(file_text("records.dat"), "500 700");
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
        CASE{"99999999999 5", 0, 5}, CASE{"-2147483649\n5", 0, 5}, CASE{"5 2147483648", 5, 0},
        CASE{"2147483647 -2147483648", INT_MAX, INT_MIN}, CASE{"-40 7", -40, 7}, CASE{"7", 7, 0},
        CASE{"3 4 junk", 3, 4}, CASE{"12abc 5", 12, 0}, CASE{"+8 -0", 8, 0}, CASE{"- 5", 0, 0},
        CASE{"1e3 5", 1, 0}, CASE{"21474836470 5", 0, 5}, CASE{"-21474836480 5", 0, 5}}) {
    write_file("records.dat", c.text);
    const RECORDS r = read_records();
    EXPECT_EQ(r.solo, c.solo) << "'" << c.text << "'";
    EXPECT_EQ(r.multi, c.multi) << "'" << c.text << "'";
  }
  write_file("records.dat", "-40 7");
  update_records(0, false);
  EXPECT_EQ(file_text("records.dat"), "0 7") << "any score beats a negative record";
  write_file("records.dat", "99999999999 5");
  update_records(10, false);
  EXPECT_EQ(file_text("records.dat"), "10 5") << "an unreadable first value keeps the second";
}

TEST_F(RECORD_FILE, ARecordFileThatCannotBeReplacedIsLeftAlone) {
  std::filesystem::create_directory("records.dat");
  EXPECT_FALSE(update_records(100, false));
  EXPECT_TRUE(std::filesystem::is_directory("records.dat"));
  EXPECT_FALSE(std::filesystem::exists("records.dat.new")) << "no temporary file is left behind";
  const RECORDS r = read_records();
  EXPECT_EQ(r.solo, 0);
}

// What runs once the score is the saved record (the best replay put in
// place) runs only when it is saved.
TEST_F(RECORD_FILE, AFailedWriteKeepsTheOldRecords) {
  write_file("records.dat", "300 400");
  bool written = true;
  bool raised = false;
  harness::as_on_a_full_disk(
      [&] { written = update_records(1000, false, RECORDS_FILE, [&] { raised = true; }); });
  EXPECT_FALSE(written);
  EXPECT_FALSE(raised) << "the record was not saved";
  EXPECT_EQ(file_text("records.dat"), "300 400");
  EXPECT_FALSE(std::filesystem::exists("records.dat.new"));
}

// Played as a player, not as root (who may write anywhere, and runs CI).
TEST_F(RECORD_FILE, AReadOnlyDirectoryKeepsTheOldRecords) {
  const PLAYED played = as_player_in("read-only", [] {
    write_file("records.dat", "300 400");
    std::filesystem::permissions("records.dat", std::filesystem::perms::owner_read);
    std::filesystem::permissions(
        ".", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    bool raised = false;
    const bool saved = update_records(1000, false, RECORDS_FILE, [&] { raised = true; });
    std::filesystem::permissions(".", std::filesystem::perms::owner_all);
    return std::string(saved ? "saved" : "not saved") + (raised ? ", raised " : " ") +
           file_text("records.dat");
  });
  EXPECT_EQ(played.out, "not saved 300 400");
  EXPECT_NE(played.errors.find("cannot save the records in"), std::string::npos) << played.errors;
}

TEST_F(RECORD_FILE, EveryKindOfRecordFileIsSavedSafelyOrLeftAlone) {
  namespace fs = std::filesystem;
  struct CASE {
    const char* name;
    std::function<void()> prepare;  // by the player, in a directory of the case's own
    const char* path;               // the record file the game is given
    const char* played;             // the save of a solo 1000, then the records read back
    const char* errors;             // stderr; @ stands for the case's directory
    std::function<void()> check;    // the files afterwards
  };
  const auto read_only = [](const char* path) { chmod(path, 0555); };
  const CASE cases[] = {
      {"a link to a shared file",
       [] {
         fs::create_directories("shared");
         fs::create_directories("mine");
         write_file("shared/records.dat", "300 400");
         chmod("shared/records.dat", 0664);
         fs::create_symlink("../shared/records.dat", "mine/records.dat");
       },
       "mine/records.dat", "saved 1000 400", "",
       [] {
         EXPECT_TRUE(fs::is_symlink("mine/records.dat"));
         EXPECT_EQ(file_text("shared/records.dat"), "1000 400");
         EXPECT_EQ(mode_of("shared/records.dat"), 0664);
       }},
      {"a read-only file in a writable directory",
       [] {
         write_file("records.dat", "300 400");
         chmod("records.dat", 0440);
       },
       "records.dat", "saved 1000 400", "",
       [] { EXPECT_EQ(mode_of("records.dat"), 0440) << "the permission bits are kept"; }},
      {"a new file", [] { umask(027); }, "records.dat", "saved 1000 0", "",
       [] { EXPECT_EQ(mode_of("records.dat"), 0640) << "as the player's umask allows"; }},
      {"a writable file in a read-only directory",
       [&] {
         fs::create_directories("ro");
         write_file("ro/records.dat", "  300\n\n   400\n");
         chmod("ro/records.dat", 0600);
         read_only("ro");
       },
       "ro/records.dat", "saved 1000 400", "",
       [] {
         EXPECT_EQ(file_text("ro/records.dat"), "1000 400") << "rewritten in place";
         EXPECT_EQ(mode_of("ro/records.dat"), 0600);
       }},
      {"a read-only file in a read-only directory",
       [&] {
         fs::create_directories("ro");
         write_file("ro/records.dat", "300 400");
         chmod("ro/records.dat", 0444);
         read_only("ro");
       },
       "ro/records.dat", "not saved 300 400",
       "brinegrab: cannot save the records in '@/ro/records.dat': Permission denied\n",
       [] { EXPECT_EQ(file_text("ro/records.dat"), "300 400"); }},
      {"no file in a read-only directory",
       [&] {
         fs::create_directories("ro");
         read_only("ro");
       },
       "ro/records.dat", "not saved 0 0",
       "brinegrab: cannot save the records in '@/ro/records.dat': Permission denied\n",
       [] { EXPECT_FALSE(fs::exists("ro/records.dat")); }},
      {"another player's file that this one cannot read",
       [] {
         write_file("records.dat", "50000 40000");
         chmod("records.dat", 0);
       },
       "records.dat", "not saved 0 0",
       "brinegrab: cannot read the records in '@/records.dat': Permission denied; the file is left "
       "alone, this game is not saved\n",
       [] {
         EXPECT_EQ(file_text("records.dat"), "50000 40000");
         EXPECT_EQ(mode_of("records.dat"), 0);
       }},
      {"a named pipe", [] { mkfifo("records.dat", 0666); }, "records.dat", "not saved 0 0",
       "brinegrab: cannot save the records in '@/records.dat': not a regular file, left alone\n"
       "brinegrab: '@/records.dat' is not a regular file: read as no records, left alone\n",
       [] { EXPECT_TRUE(fs::is_fifo("records.dat")); }},
      {"a device", [] {}, "/dev/null", "not saved 0 0",
       "brinegrab: cannot save the records in '/dev/null': not a regular file, left alone\n"
       "brinegrab: '/dev/null' is not a regular file: read as no records, left alone\n",
       [] { EXPECT_TRUE(fs::is_character_file("/dev/null")); }},
      {"a full disk",
       [] {
         write_file("records.dat", "300 400");
         signal(SIGXFSZ, SIG_IGN);
         const rlimit one_byte = {1, RLIM_INFINITY};
         setrlimit(RLIMIT_FSIZE, &one_byte);
       },
       "records.dat", "not saved 300 400",
       "brinegrab: cannot save the records in '@/records.dat': File too large\n",
       [] { EXPECT_EQ(file_text("records.dat"), "300 400"); }},
      {"a file larger than 64 KB",
       [] { write_file("records.dat", "300 400" + std::string(64 * 1024 - 6, ' ')); },
       "records.dat", "not saved 0 0",
       "brinegrab: cannot read the records in '@/records.dat': File too large; the file is left "
       "alone, this game is not saved\n",
       [] { EXPECT_EQ(fs::file_size("records.dat"), 64u * 1024 + 1); }},
      {"a loop of links", [] { fs::create_symlink("records.dat", "records.dat"); }, "records.dat",
       "not saved 0 0",
       "brinegrab: cannot read the records in '@/records.dat': Too many levels of symbolic links; "
       "the file is left alone, this game is not saved\n",
       [] { EXPECT_TRUE(fs::is_symlink("records.dat")); }},
  };
  int number = 0;
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string home = "case" + std::to_string(++number);
    const PLAYED played = as_player_in(home, [&] {
      c.prepare();
      const bool saved = update_records(1000, false, c.path);
      const RECORDS read = read_records(c.path);
      return std::string(saved ? "saved " : "not saved ") + std::to_string(read.solo) + " " +
             std::to_string(read.multi);
    });
    EXPECT_EQ(played.out, c.played);
    EXPECT_EQ(played.errors, std::regex_replace(c.errors, std::regex("@"),
                                                fs::current_path().string() + "/" + home));
    fs::current_path(home);
    c.check();
    for (const auto& entry : fs::recursive_directory_iterator(".")) {
      EXPECT_EQ(entry.path().filename().string().rfind("records.dat.", 0), std::string::npos)
          << "a temporary file is left: " << entry.path();
    }
    fs::current_path("..");
  }
}

namespace {

// The score a replay file holds, or -1 when there is no such replay.
int replay_score(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RECORDED_GAME replay;
  std::string error;
  return in && parse_replay(bytes, replay, error) ? replay.score : -1;
}

RECORDED_GAME game_scoring(int score, bool multi = false) {
  RECORDED_GAME game;
  game.version = game_version();
  game.multi = multi;
  game.score = score;
  return game;
}

}  // namespace

// A game becomes the best replay of its mode only when it beats the record:
// one that ties it leaves the record's own game.
TEST_F(RECORD_FILE, OnlyAGameThatBeatsTheRecordBecomesTheBestReplay) {
  const struct {
    const char* records;
    int score;
    bool multi;
    const char* solo;  // best-solo.replay afterwards: "old", or the score kept
    const char* multi_file;
  } cases[] = {
      {"300 400", 300, false, "old", "old"},
      {"300 400", 301, false, "301", "old"},
      {"300 400", 400, true, "old", "old"},
      {"300 400", 401, true, "old", "401"},
  };
  for (const auto& c : cases) {
    write_file("records.dat", c.records);
    write_file("best-solo.replay", "old");
    write_file("best-multi.replay", "old");
    EXPECT_TRUE(keep_game(game_scoring(c.score, c.multi), true)) << c.score;
    for (const auto& [file, expected] :
         {std::pair{"best-solo.replay", c.solo}, std::pair{"best-multi.replay", c.multi_file}}) {
      const std::string kept =
          file_text(file) == "old" ? "old" : std::to_string(replay_score(file));
      EXPECT_EQ(kept, expected) << c.records << ", " << c.score << (c.multi ? " for two" : "")
                                << ": " << file;
    }
  }
}

TEST_F(RECORD_FILE, ASaveRemovesItsOwnLeftoverTemporaryFilesOlderThanAMinute) {
  namespace fs = std::filesystem;
  struct CASE {
    const char* name;
    int age_s;
    std::string text;
    bool removed;
  };
  const CASE cases[] = {
      {"records.dat.a1B2c3", 3600, "", true},  // a save killed before it wrote
      // Two seconds past the minute: file times count whole seconds, and the
      // clock time() reads may lag the file clock by a tick.
      {"records.dat.Zz9Yy8", 62, "300 400", true},
      {"records.dat.q7W8e9", 50, "300 400", false},  // not a minute old
      {"records.dat.backup1", 3600, "", false},      // seven characters
      {"records.dat.bak", 3600, "", false},
      {"records.dat.x_y-z1", 3600, "", false},  // mkostemp makes letters and digits only
      {"records.dat.abcdef", 3600, std::string(24, '1'), false},  // longer than any records
      {"other.dat.abcdef", 3600, "", false},
      // Every file kept so: the replays and the settings.
      {"last.replay.a1B2c3", 3600, "", true},
      {"last.replay.q7W8e9", 30, "", false},
      {"best-solo.replay.Zz9Yy8", 3600, "", true},
      {"best-multi.replay.Xx1Ww2", 3600, "", true},
      {"config/brinegrab/settings.conf.Qq4Rr5", 3600, "", true},
      {"config/brinegrab/settings.conf.Tt6Uu7", 30, "", false},
  };
  fs::create_directories("config/brinegrab");
  write_file("records.dat", "300 400");
  for (const CASE& c : cases) {
    write_file(c.name, c.text);
    fs::last_write_time(c.name, fs::file_time_type::clock::now() - std::chrono::seconds(c.age_s));
  }
  fs::create_directory("records.dat.dir123");
  fs::last_write_time("records.dat.dir123",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  ASSERT_EQ(mkfifo("records.dat.Pp1Qq2", 0600), 0);
  fs::last_write_time("records.dat.Pp1Qq2",
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  EXPECT_TRUE(update_records(1000, false));
  EXPECT_EQ(file_text("records.dat"), "1000 400");
  setenv("XDG_CONFIG_HOME", (fs::current_path() / "config").c_str(), 1);
  EXPECT_TRUE(keep_game(game_scoring(5), true));
  EXPECT_TRUE(save_settings());
  unsetenv("XDG_CONFIG_HOME");
  for (const CASE& c : cases) EXPECT_EQ(fs::exists(c.name), !c.removed) << c.name;
  EXPECT_TRUE(fs::is_directory("records.dat.dir123")) << "only files are leftovers";
  EXPECT_TRUE(fs::is_fifo("records.dat.Pp1Qq2")) << "only regular files are leftovers";
}

// Another game holds the lock on the records' directory, as one stopped
// (Ctrl+Z) in the middle of its save would.
// Another game holding the lock: a read waits 0.2 s (a save holds it for
// milliseconds) and then reads without it; a save waits 2 s and gives up.
// On the virtual clock of the system's waits.
TEST_F(RECORD_FILE, AHeldLockDelaysAReadBrieflyAndASaveForTwoSeconds) {
  write_file("records.dat", "300 400");
  const int here = open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(flock(here, LOCK_EX), 0);
  const struct {
    const char* what;
    std::function<std::string()> act;
    const char* result;
    long long waits_ms;
  } cases[] = {
      {"a read",
       [] {
         const RECORDS r = read_records();
         return std::to_string(r.solo) + " " + std::to_string(r.multi);
       },
       "300 400", 200},
      {"a save", [] { return std::string(update_records(1000, false) ? "saved" : "not saved"); },
       "not saved", 2000},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    harness::virtual_system_waits(true);
    const long long from = harness::system_ms();
    const std::string result = c.act();
    const long long took = harness::system_ms() - from;
    harness::virtual_system_waits(false);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, c.result) << c.what;
    EXPECT_GE(took, c.waits_ms) << c.what;
    EXPECT_LE(took, c.waits_ms + 20) << c.what;
  }
  close(here);
  EXPECT_EQ(file_text("records.dat"), "300 400");
}

TEST_F(RECORD_FILE, ALockHeldByAnotherGameIsWaitedForBrieflyAndAStopSignalShortensTheWait) {
  namespace fs = std::filesystem;
  struct CASE {
    const char* name;
    bool stop;    // 300 ms into the wait a stop signal comes
    bool let_go;  // the holder lets go: at once after the signal, or after 300 ms
    const char* played;
    const char* errors;  // @ stands for the case's directory
  };
  const char* const locked =
      "brinegrab: cannot save the records: '@/records.dat' is locked by another game\n";
  const CASE cases[] = {
      {"held for longer than a save waits", false, false, "not saved 300 400", locked},
      {"let go during the wait", false, true, "saved 1000 400", ""},
      {"held, and a stop signal comes", true, false, "not saved 300 400", locked},
      {"a stop signal comes, then the lock is let go", true, true, "saved 1000 400", ""},
  };
  int number = 0;
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string home = "case" + std::to_string(++number);
    const PLAYED played = as_player_in(home, [&] {
      write_file("records.dat", "300 400");
      install_stop_signals();
      int ready[2];
      if (pipe(ready) != 0) return std::string("no pipe");
      const pid_t saver = getpid();
      const pid_t holder = fork();
      if (holder == 0) {
        alarm(5);  // never outlives a saver that hangs (it holds the step's pipes)
        const int here = open(".", O_RDONLY | O_DIRECTORY);
        if (here < 0 || flock(here, LOCK_EX) != 0) _exit(1);
        if (write(ready[1], "!", 1) != 1) _exit(1);
        usleep(300000);
        if (c.stop) kill(saver, SIGTERM);
        if (c.let_go) _exit(flock(here, LOCK_UN) == 0 ? 0 : 1);
        for (;;) pause();
      }
      char byte;
      if (read(ready[0], &byte, 1) != 1) return std::string("no holder");
      const auto asked = std::chrono::steady_clock::now();
      const bool saved = update_records(1000, false);
      const auto took = std::chrono::steady_clock::now() - asked;
      // The game-over screen reads the records with the lock still held.
      const RECORDS read = read_records();
      kill(holder, SIGKILL);
      waitpid(holder, nullptr, 0);
      return std::string(saved ? "saved " : "not saved ") + std::to_string(read.solo) + " " +
             std::to_string(read.multi) + "|" +
             std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(took).count());
    });
    const size_t bar = played.out.find('|');
    EXPECT_EQ(played.out.substr(0, bar), c.played);
    EXPECT_EQ(played.errors, std::regex_replace(c.errors, std::regex("@"),
                                                fs::current_path().string() + "/" + home));
    const int ms = bar == std::string::npos ? -1 : std::stoi(played.out.substr(bar + 1));
    if (c.stop && !c.let_go) {
      // After a signal the wait lasts what the stop grace leaves for the
      // save (games stopped together wait for each other's saves), and
      // ends before a second signal would end the program.
      EXPECT_LT(ms, 300 + STOP_GRACE_MS) << "the wait outlasted the stop grace";
      EXPECT_GT(ms, 300 + STOP_GRACE_MS / 2) << "the wait ended long before the grace did";
    }
    RecordProperty(std::string("save_ms_") + std::to_string(number), ms);
    std::printf("%s: the save returned after %d ms\n", c.name, ms);
  }
}

TEST_F(RECORD_FILE, ConcurrentGamesNeverLoseARecordNorShowAnEmptyFile) {
  // Each writer plays its own scores, modes in turn, all starting with no
  // file; a reader that takes no lock watches the file meanwhile.
  constexpr int WRITERS = 4, GAMES = 40;
  const auto started = std::chrono::steady_clock::now();
  int reports[2];
  ASSERT_EQ(pipe(reports), 0);
  const pid_t reader = fork();
  if (reader == 0) {
    const std::regex whole("(0|[1-9][0-9]*) (0|[1-9][0-9]*)");
    const int final_solo = (GAMES - 1) * WRITERS, final_multi = GAMES * WRITERS;
    int reads = 0, bad = 0, solo = 0, multi = 0;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((solo != final_solo || multi != final_multi) &&
           std::chrono::steady_clock::now() < give_up) {
      std::ifstream in("records.dat", std::ios::binary);
      if (!in) continue;  // not made yet
      std::stringstream text;
      text << in.rdbuf();
      std::smatch values;
      const std::string seen = text.str();
      ++reads;
      if (!std::regex_match(seen, values, whole)) {
        ++bad;
        continue;
      }
      const int now_solo = std::stoi(values[1]), now_multi = std::stoi(values[2]);
      if (now_solo < solo || now_multi < multi) ++bad;
      solo = now_solo;
      multi = now_multi;
    }
    const std::string report = std::to_string(reads) + " " + std::to_string(bad) + " " +
                               std::to_string(solo) + " " + std::to_string(multi);
    _exit(write(reports[1], report.data(), report.size()) > 0 ? 0 : 1);
  }
  close(reports[1]);
  std::vector<pid_t> writers;
  for (int w = 0; w < WRITERS; ++w) {
    const pid_t writer = fork();
    if (writer == 0) {
      bool all_saved = true;
      for (int game = 0; game < GAMES; ++game) {
        all_saved = update_records(game * WRITERS + w + 1, game % 2 == 1) && all_saved;
      }
      _exit(all_saved ? 0 : 1);
    }
    writers.push_back(writer);
  }
  for (pid_t writer : writers) {
    int status = 0;
    waitpid(writer, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "every save succeeds";
  }
  const RECORDS final = read_records();
  EXPECT_EQ(final.solo, (GAMES - 1) * WRITERS) << "the best solo game of all writers";
  EXPECT_EQ(final.multi, GAMES * WRITERS) << "the best two-player game of all writers";
  char buffer[128] = {};
  const ssize_t got = read(reports[0], buffer, sizeof buffer - 1);
  close(reports[0]);
  waitpid(reader, nullptr, 0);
  int reads = 0, bad = -1;
  std::istringstream(std::string(buffer, got > 0 ? size_t(got) : 0)) >> reads >> bad;
  EXPECT_EQ(bad, 0) << "the reader saw an empty, torn or older file";
  EXPECT_GT(reads, 0);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - started)
                      .count();
  std::printf("%d saves by %d games at once in %lld ms; %d reads by a reader without a lock\n",
              WRITERS * GAMES, WRITERS, static_cast<long long>(ms), reads);
}

TEST_F(RECORD_FILE, RecordsLiveInTheWorkingDirectoryWhenThePlayerCanWriteThem) {
  namespace fs = std::filesystem;
  const std::string test_dir = fs::current_path().string();
  struct CASE {
    const char* name;
    std::function<void()> prepare;  // by the player, in an empty working directory
    const char* xdg_data_home;      // nullptr: unset
    const char* path;               // T stands for the test's directory, ~ for the account's
    const char* errors = "";        // T stands for the test's directory
    const char* home = "T/home";
    bool save = true;  // false: only where the records are looked for (no directory is made)
  };
  const auto read_only_here = [] { chmod(".", 0555); };
  const CASE cases[] = {
      {"a writable directory", [] {}, "/elsewhere", "records.dat"},
      {"a writable file in a read-only directory",
       [&] {
         write_file("records.dat", "1 2");
         read_only_here();
       },
       "/elsewhere", "records.dat"},
      {"a read-only directory", read_only_here, nullptr,
       "T/home/.local/share/brinegrab/records.dat"},
      {"a read-only directory and file",
       [&] {
         write_file("records.dat", "1 2");
         chmod("records.dat", 0444);
         read_only_here();
       },
       "T/data", "T/data/brinegrab/records.dat"},
      {"a relative XDG_DATA_HOME, which does not count", read_only_here, "data",
       "T/home/.local/share/brinegrab/records.dat"},
      {"a relative HOME, which does not count either", read_only_here, nullptr,
       "~/.local/share/brinegrab/records.dat", "", "home", false},
      {"a working directory removed during play",
       [] {
         fs::create_directory("gone");
         fs::current_path("gone");
         fs::remove(fs::current_path());
       },
       "T/data", "T/data/brinegrab/records.dat"},
      {"an XDG_DATA_HOME the player cannot write",
       [&] {
         read_only_here();
         fs::create_directory(test_dir + "/locked");
         chmod((test_dir + "/locked").c_str(), 0555);
       },
       "T/locked", "",
       "brinegrab: cannot save the records in 'T/locked/brinegrab/records.dat': cannot make "
       "'T/locked/brinegrab': Permission denied\n"},
  };
  int number = 0;
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string here = "case" + std::to_string(++number);
    const PLAYED played = as_player_in(here, [&] {
      setenv("HOME", std::regex_replace(c.home, std::regex("^T"), test_dir).c_str(), 1);
      if (c.xdg_data_home == nullptr) {
        unsetenv("XDG_DATA_HOME");
      } else {
        setenv("XDG_DATA_HOME",
               std::regex_replace(c.xdg_data_home, std::regex("^T"), test_dir).c_str(), 1);
      }
      c.prepare();
      // The path is the same whether a save will follow or not.
      const std::string path = records_path();
      const std::string for_saving = c.save ? records_path_for_saving() : path;
      if (!for_saving.empty() && for_saving != path) return "saving in " + for_saving;
      std::string shown = std::regex_replace(for_saving, std::regex("^" + test_dir), "T");
      const passwd* account = getpwuid(getuid());
      const std::string own = account != nullptr ? account->pw_dir : "";
      if (!own.empty() && shown.rfind(own + "/", 0) == 0) shown = "~" + shown.substr(own.size());
      return shown;
    });
    EXPECT_EQ(played.out, c.path);
    EXPECT_EQ(played.errors, std::regex_replace(c.errors, std::regex("T/"), test_dir + "/"));
  }
}

// The replays go where a new file can be made: with the records in the data
// directory, and there too when only records.dat is writable in the game's.
TEST_F(RECORD_FILE, AGameStartedInAReadOnlyDirectoryKeepsItsRecordsInTheDataDirectory) {
  namespace fs = std::filesystem;
  struct CASE {
    const char* name;
    bool records_writable_here;
    const char* records;  // where the game's records end up
  };
  const CASE cases[] = {
      {"nothing writable here", false, "data/brinegrab/records.dat"},
      {"a writable records.dat here", true, "installed/records.dat"},
  };
  const std::string test_dir = fs::current_path().string();
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.name);
    fs::current_path(test_dir);
    fs::remove_all("installed");
    fs::remove_all("data");
    fs::create_directory("installed");
    for (const auto& entry : fs::directory_iterator(".")) {
      if (entry.is_symlink())
        fs::create_symlink(fs::read_symlink(entry), "installed" / entry.path().filename());
    }
    if (c.records_writable_here) {
      write_file("installed/records.dat", "0 0");
      chmod("installed/records.dat", 0666);
    }
    chmod("installed", 0555);
    const PLAYED played = as_player([&] {
      umask(022);
      fs::current_path("installed");
      setenv("XDG_DATA_HOME", (test_dir + "/data").c_str(), 1);
      harness::reset();
      reset_game_globals();
      GAME game;
      if (!start_up(game)) return std::string("no start");
      // Through the title, hints and mode screen, then Escape ends the game
      // and the program on the game-over screen.
      for (int flip = 4; flip <= 7; ++flip) harness::press_after_flip(flip, SDLK_RETURN);
      harness::on_every_flip([](int flip) {
        if (flip > 8) harness::press(SDLK_ESCAPE);
      });
      run(game);
      shut_down(game);
      return std::to_string(game.score) + " 0";
    });
    fs::current_path(test_dir);
    EXPECT_EQ(file_text(c.records), played.out);
    EXPECT_EQ(mode_of("data/brinegrab"), 0700) << "made for the player alone";
    EXPECT_EQ(mode_of("data/brinegrab/last.replay"), 0644) << "as a new records.dat";
    EXPECT_FALSE(fs::exists("installed/last.replay"));
    chmod("installed", 0755);
  }
}

// Games that end together, each in a process of its own, all started at once
// from the same records: every one saves, the record is the highest score,
// and the best replay is that game's. A stop signal (a logout) comes to each
// before its save while another game holds the lock for a while.
TEST_F(RECORD_FILE, GamesEndingTogetherAllSaveAndTheBestReplayIsTheRecordsGame) {
  namespace fs = std::filesystem;
  struct CASE {
    const char* name;
    int games;
    bool stopped;  // each has had a stop signal before it saves
    int held_ms;   // another game holds the lock this long as they start
  };
  const CASE cases[] = {
      {"two games", 2, false, 0},
      {"twelve games", 12, false, 0},
      {"twelve games stopped by one signal each, the lock held", 12, true, 600},
  };
  int number = 0;
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string here = "together" + std::to_string(++number);
    fs::create_directory(here);
    fs::current_path(here);
    write_file("records.dat", "40 7");
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    if (c.held_ms > 0) {
      int held[2];
      ASSERT_EQ(pipe(held), 0);
      const pid_t holder = fork();
      if (holder == 0) {
        alarm(5);
        const int locked = open(".", O_RDONLY | O_DIRECTORY);
        if (locked < 0 || flock(locked, LOCK_EX) != 0 || write(held[1], "!", 1) != 1) _exit(1);
        usleep(static_cast<useconds_t>(c.held_ms) * 1000);
        _exit(0);
      }
      char byte;
      ASSERT_EQ(read(held[0], &byte, 1), 1);
      children.push_back(holder);
    }
    int highest = 40;
    for (int i = 0; i < c.games; ++i) {
      const int score = 10 + (i * 37) % 97;  // distinct, some below the record
      highest = std::max(highest, score);
      const pid_t game = fork();
      if (game == 0) {
        alarm(10);
        if (c.stopped) {
          install_stop_signals();
          raise(SIGTERM);
        }
        close(go[1]);
        char byte;
        if (read(go[0], &byte, 1) != 0) _exit(3);  // all start when the pipe closes
        _exit(keep_game(game_scoring(score), true) ? 0 : 1);
      }
      children.push_back(game);
    }
    close(go[0]);
    close(go[1]);
    int failed = 0;
    for (const pid_t child : children) {
      int status = 0;
      waitpid(child, &status, 0);
      failed += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(file_text("records.dat"), std::to_string(highest) + " 7");
    EXPECT_EQ(replay_score("best-solo.replay"), highest);
    EXPECT_GE(replay_score("last.replay"), 10);
    EXPECT_FALSE(fs::exists("best-multi.replay"));
    for (const auto& entry : fs::directory_iterator(".")) {
      EXPECT_EQ(entry.path().filename().string().find(".replay."), std::string::npos)
          << "a temporary file is left: " << entry.path();
    }
    fs::current_path("..");
  }
}

// The settings file is kept as the records are: a link written through, its
// permission bits kept, another player's file left alone; and every file the
// game keeps removes its own leftovers (a game killed while saving leaves
// NAME.XXXXXX) once they are a minute old.
TEST_F(RECORD_FILE, TheSettingsFileIsKeptAsTheRecordsAre) {
  namespace fs = std::filesystem;
  const char* const file = "config/brinegrab/settings.conf";
  struct CASE {
    const char* name;
    std::function<void()> prepare;
    const char* kept_in;  // where the new settings end up ("" for nowhere)
    int mode;             // of that file, or of the file left alone
  };
  const CASE cases[] = {
      {"no file yet", [] {}, file, 0644},
      {"a file of the player's alone",
       [&] {
         write_file(file, "speed = 50\n");
         chmod(file, 0600);
       },
       file, 0600},
      {"a link to a file elsewhere",
       [&] {
         write_file("shared.conf", "speed = 50\n");
         chmod("shared.conf", 0640);
         fs::create_symlink("../../shared.conf", file);
       },
       "shared.conf", 0640},
      {"another player's file, unreadable",
       [&] {
         write_file(file, "speed = 50\n");
         chmod(file, 0);
       },
       "", 0},
  };
  int number = 0;
  for (const CASE& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string home = "settings" + std::to_string(++number);
    const PLAYED played = as_player_in(home, [&] {
      umask(022);
      fs::create_directories("config/brinegrab");
      c.prepare();
      setenv("XDG_CONFIG_HOME", (fs::current_path() / "config").c_str(), 1);
      SETTINGS slower;
      slower.speed = 70;
      use_settings(slower);
      return std::string(save_settings() ? "saved" : "not saved");
    });
    fs::current_path(home);
    EXPECT_EQ(played.out, *c.kept_in != '\0' ? "saved" : "not saved");
    if (*c.kept_in != '\0') {
      EXPECT_NE(file_text(c.kept_in).find("speed = 70"), std::string::npos);
      EXPECT_EQ(mode_of(c.kept_in), c.mode);
      EXPECT_EQ(fs::is_symlink(file), std::string(c.kept_in) != file) << "a link stays a link";
    } else {
      EXPECT_NE(played.errors.find("cannot save the settings"), std::string::npos) << played.errors;
      chmod(file, 0600);
      EXPECT_EQ(file_text(file), "speed = 50\n");
    }
    fs::current_path("..");
  }
}
