#include "platform/options.h"

#include <cerrno>
#include <cstring>

#include "platform/catalog.h"
#include "platform/quoted.h"

namespace {

// The usage: the options and words in capitals stay as they are.
const char* const USAGE =
    N_("Usage: brinegrab [--windowed | --fullscreen] [--no-splash] [--attract]\n"
       "       brinegrab [--windowed | --fullscreen] --replay FILE|last|best\n"
       "       brinegrab --help | --version\n");

// The help after the usage, a part at a time, each after a blank line.
const char* const HELP[] = {
    // --help: what the game is.
    N_("Brinegrab: a pirate arcade game for one or two players on one keyboard.\n"),
    // --help: the options stay as they are; keep the columns lined up.
    N_("Options:\n"
       "  --windowed      play in a 640x480 window\n"
       "  --fullscreen    play full screen (the default)\n"
       "  --replay FILE   watch a recorded game, then exit: Space pauses, Right\n"
       "                  plays faster (2x, 4x, 8x), Left at 1x, Escape stops\n"
       "  --replay last   watch the last game played\n"
       "  --replay best   watch the best game kept, solo or two-player\n"
       "  --no-splash     start at the title, without the three opening pictures\n"
       "  --attract       for a kiosk: after 30 s on the title screen without a\n"
       "                  key, the best game recorded plays; any key returns\n"
       "  -h, --help      show this help and exit\n"
       "  --version       show the version and exit\n"),
    // --help: the keys by the names on the keyboard; keep the columns lined up.
    N_("Keys:\n"
       "  Enter           go on; play (mode screen); play again (game over)\n"
       "  Space           one or two players (mode screen)\n"
       "  C               settings: keys, pad buttons, game speed, volumes (mode screen)\n"
       "  Escape          quit (menus); end the game, the mini-game or the fight\n"
       "  arrow keys      move pirate one; Up jumps in the trap run\n"
       "  Right Ctrl      pirate one strikes in the sword fight\n"
       "  W, A, S, D      move pirate two; W jumps in the trap run\n"
       "  G               pirate two strikes in the sword fight\n"
       "  P or Pause      pause; P, Pause or Enter resume\n"
       "  R               watch the game just played (game over)\n"
       "  M               mute and unmute music and sounds\n"
       "  Alt+Enter, F11  switch between full screen and a window\n"),
    // --help: a gamepad's parts; keep the columns lined up.
    N_("Gamepads (the first steers pirate one, the second pirate two):\n"
       "  stick or d-pad  move\n"
       "  first button    strike\n"
       "  Start           Enter\n"
       "  Back or Select  Escape\n"),
    // --help: the files' names and paths stay as they are; keep the columns lined up.
    N_("Files:\n"
       "  The game reads its pictures, sounds and fonts from the directory it is\n"
       "  started in; the installed launcher starts it in share/games/brinegrab.\n"
       "  records.dat     the solo and two-player records: ./records.dat when it\n"
       "                  can be written in the working directory, otherwise\n"
       "                  $XDG_DATA_HOME/brinegrab/records.dat (by default\n"
       "                  ~/.local/share/brinegrab/records.dat)\n"
       "  settings.conf   the keys, pad buttons, speed and volumes chosen on the\n"
       "                  settings screen: $XDG_CONFIG_HOME/brinegrab/settings.conf\n"
       "                  (by default ~/.config/brinegrab/settings.conf); without\n"
       "                  it every key is as listed above\n"
       "  last.replay     the last game played, in the working directory when it\n"
       "                  can be written, otherwise in $XDG_DATA_HOME/brinegrab\n"
       "  best-solo.replay, best-multi.replay\n"
       "                  the game that set each record, beside last.replay\n"),
    // --help: the variables and their values stay as they are; keep the columns lined up.
    N_("Environment:\n"
       "  SDL_VIDEODRIVER           video driver (x11, wayland, ...)\n"
       "  SDL_AUDIODRIVER           audio driver (pulseaudio, alsa, dummy for silence)\n"
       "  SDL12COMPAT_SCALE_METHOD  scaling of the full-screen picture: nearest\n"
       "                            (the game's default, sharp) or linear (smooth)\n"
       "  XDG_DATA_HOME             where records.dat goes when the working\n"
       "                            directory cannot be written\n"
       "  XDG_CONFIG_HOME           where settings.conf is kept\n"),
};

// A help or a version that could not be written (a full disk, a closed
// pipe) is a failure, as for any command-line tool.
// failure says so, {1} standing for the system's reason.
int finish_output(std::FILE* out, std::FILE* err, const char* failure) {
  if (std::fflush(out) == 0 && !std::ferror(out)) return 0;
  std::fprintf(err, "brinegrab: %s\n", fill(failure, {std::strerror(errno)}).c_str());
  return 1;
}

}  // namespace

int parse_options(int argc, char* argv[], OPTIONS& options, std::FILE* out, std::FILE* err) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--windowed") == 0) {
      options.windowed = true;
    } else if (std::strcmp(arg, "--fullscreen") == 0) {
      options.windowed = false;
    } else if (std::strcmp(arg, "--replay") == 0) {
      if (i + 1 == argc) {
        // "FILE" is the word of the usage below.
        std::fprintf(err, "brinegrab: %s\n", tr("option '--replay' needs a FILE"));
        std::fputs(tr(USAGE), err);
        return 2;
      }
      options.replay = argv[++i];
    } else if (std::strcmp(arg, "--no-splash") == 0) {
      options.splash = false;
    } else if (std::strcmp(arg, "--attract") == 0) {
      options.attract = true;
    } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(tr(USAGE), out);
      for (const char* part : HELP) std::fprintf(out, "\n%s", tr(part));
      // {1} is the system's reason.
      return finish_output(out, err, tr("cannot write the help: {1}"));
    } else if (std::strcmp(arg, "--version") == 0) {
      std::fprintf(out, "brinegrab %s\n", BRINEGRAB_VERSION);
      // {1} is the system's reason.
      return finish_output(out, err, tr("cannot write the version: {1}"));
    } else {
      // {1} is what was given on the command line.
      std::fprintf(err, "brinegrab: %s\n", fill(tr("unknown option {1}"), {quoted(arg)}).c_str());
      std::fputs(tr(USAGE), err);
      std::fprintf(err, "%s\n", tr("Try 'brinegrab --help' for the keys and files."));
      return 2;
    }
  }
  return -1;
}
