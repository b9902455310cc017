// The command line, read before SDL starts: what each argument list makes
// the program do, and what it prints where.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/options.h"

namespace {

struct STREAM {
  char* text = nullptr;
  size_t size = 0;
  std::FILE* file = open_memstream(&text, &size);
  std::string read() {
    std::fflush(file);
    return std::string(text, size);
  }
  ~STREAM() {
    std::fclose(file);
    std::free(text);
  }
};

}  // namespace

TEST(Options, EachArgumentListGivesItsExitStatusAndOutput) {
  struct CASE {
    std::vector<std::string> args;
    int status;             // -1: the game runs
    bool windowed;          // when it runs
    const char* out;        // expected in stdout ("" = stdout stays empty)
    const char* err;        // expected in stderr ("" = stderr stays empty)
    bool out_full = false;  // stdout is a full disk (/dev/full): nothing printed reaches it
  };
  const CASE cases[] = {
      {{}, -1, false, "", ""},
      {{"--windowed"}, -1, true, "", ""},
      {{"--fullscreen"}, -1, false, "", ""},
      {{"--windowed", "--fullscreen"}, -1, false, "", ""},
      {{"--fullscreen", "--windowed"}, -1, true, "", ""},
      {{"--help"}, 0, false, "Usage: brinegrab", ""},
      {{"-h"}, 0, false, "SDL12COMPAT_SCALE_METHOD", ""},
      {{"--windowed", "--help"}, 0, false, "records.dat", ""},
      {{"--version"}, 0, false, "brinegrab " BRINEGRAB_TEST_VERSION "\n", ""},
      {{"--bogus"}, 2, false, "", "unknown option '--bogus'"},
      {{"--windowed", "-x"}, 2, false, "", "Usage: brinegrab"},
      {{"windowed"}, 2, false, "", "unknown option 'windowed'"},
      {{"--help=x"}, 2, false, "", "unknown option"},
      {{""}, 2, false, "", "unknown option ''"},
      // Bytes that would move the cursor, colour the terminal or end the line
      // are shown escaped, and so are the quote and the backslash.
      {{"--x\x1b[31m\r\n\t"}, 2, false, "", "unknown option '--x\\x1b[31m\\r\\n\\t'\n"},
      {{"a'b\\c\x7f\xc3\xa9\x01"},
       2,
       false,
       "",
       "unknown option 'a\\'b\\\\c\\x7f\\xc3\\xa9\\x01'\n"},
      // So are the characters that reverse or hide text: a right-to-left
      // override, a zero-width space, an isolate, a byte order mark.
      {{"--x\u202e\u200b\u2066\ufeff"},
       2,
       false,
       "",
       "unknown option '--x\\xe2\\x80\\xae\\xe2\\x80\\x8b\\xe2\\x81\\xa6\\xef\\xbb\\xbf'\n"},
      // Output that cannot be written is a failure, said on stderr.
      {{"--help"},
       1,
       false,
       "",
       "brinegrab: cannot write the help: No space left on device\n",
       true},
      {{"-h"}, 1, false, "", "cannot write the help", true},
      {{"--version"},
       1,
       false,
       "",
       "brinegrab: cannot write the version: No space left on device\n",
       true},
      {{"--windowed"}, -1, true, "", "", true},
  };
  for (const CASE& c : cases) {
    std::vector<char*> argv{const_cast<char*>("brinegrab")};
    for (const std::string& arg : c.args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    OPTIONS options;
    STREAM out;
    STREAM err;
    std::FILE* full = c.out_full ? std::fopen("/dev/full", "w") : nullptr;
    ASSERT_EQ(full != nullptr, c.out_full);
    const int status = parse_options(static_cast<int>(argv.size()) - 1, argv.data(), options,
                                     c.out_full ? full : out.file, err.file);
    if (full != nullptr) std::fclose(full);
    const std::string what = c.args.empty() ? "(none)" : c.args.front() + " ...";
    EXPECT_EQ(status, c.status) << what;
    if (status < 0) {
      EXPECT_EQ(options.windowed, c.windowed) << what;
    }
    const std::string printed = out.read();
    const std::string complained = err.read();
    for (const auto& [stream, expected] : {std::pair{printed, c.out}, {complained, c.err}}) {
      if (*expected == '\0') {
        EXPECT_EQ(stream, "") << what;
      } else {
        EXPECT_NE(stream.find(expected), std::string::npos) << what << ": " << stream;
      }
    }
  }
}
