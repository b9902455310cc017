// The page's entry: the fonts and the saved records are made ready first,
// and a shared link's game unpacked (within the game's bound on a replay),
// then the game runs exactly as on the desktop.
#include <SDL.h>
#include <emscripten.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "page_texts.h"
#include "platform/catalog.h"
#include "platform/web/records_store.h"
#include "platform/web/shared_link.h"
#include "replay_files.h"

// The game's entry, as SDL's headers declare it on the desktop.
extern "C" int SDL_main(int argc, char* args[]);

// The browser's SDL_ttf draws text in the CSS font family named like the file
// it is asked to open, so each font file of the data package becomes a font
// face of that name.
// clang-format off
EM_ASYNC_JS(void, register_fonts, (), {
  for (const name of ['title.ttf', 'text.ttf']) {
    const face = new FontFace(name, FS.readFile(name));
    document.fonts.add(await face.load());
  }
});
// clang-format on

namespace {

// Why a shared link's game cannot be watched, or "" when it can (or there
// is none).
std::string unpacked_shared_game(int argc, char* argv[]) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--replay") != 0) continue;
    switch (unpack_shared_game(argv[i + 1], MOST_REPLAY_BYTES)) {
      case UNPACKED::NOT_A_REPLAY:
        // Said when a shared link's data is not a deflated game.
        // fit: PAGE 600
        return tr("this link does not hold a replay");
      case UNPACKED::TOO_LARGE:
        return tr("too large for a replay");
      case UNPACKED::CANNOT_UNPACK:
        // fit: PAGE 600
        return tr("this browser cannot unpack it");
      case UNPACKED::NOTHING:
      case UNPACKED::WHOLE:
        break;
    }
  }
  return "";
}

// The program's end: left to itself the runtime ends with the status main
// had at its first wait (0), or not at all when nothing waited after the
// records were loaded (a replay refused at once): the page is told the
// game's own status (Module.onExit). The exit comes after a wait, from the
// browser's timer, where emscripten takes the exit's unwinding as the end it
// is.
[[noreturn]] void end_program(int status) {
  emscripten_sleep(0);
  std::exit(status);
}

}  // namespace

int main(int argc, char* argv[]) {
  // Emscripten's file mask starts at 0777, which would leave a saved record
  // file readable by no one; a desktop session's usual mask instead.
  umask(022);
  register_fonts();
  open_records_store();
  const std::string refused = unpacked_shared_game(argc, argv);
  if (!refused.empty()) {
    tell_page_refusal(refused);
    end_program(EXIT_FAILURE);
  }
  end_program(SDL_main(argc, argv));
}
