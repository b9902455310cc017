// The page's entry: the fonts and the saved records are made ready first,
// then the game runs exactly as on the desktop.
#include <SDL.h>
#include <emscripten.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/web/records_store.h"

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

int main(int argc, char* argv[]) {
  // Emscripten's file mask starts at 0777, which would leave a saved record
  // file readable by no one; a desktop session's usual mask instead.
  umask(022);
  register_fonts();
  open_records_store();
  const int status = SDL_main(argc, argv);
  // Left to itself the runtime ends with the status main had at its first
  // wait (0), or not at all when nothing waited after the records were
  // loaded (a replay refused at once): the page is told the game's own
  // status (Module.onExit). The exit comes after a wait, from the browser's
  // timer, where emscripten takes the exit's unwinding as the end it is.
  emscripten_sleep(0);
  std::exit(status);
}
