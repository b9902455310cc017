// The page's entry: the fonts and the saved records are made ready first,
// then the game runs exactly as on the desktop.
#include <SDL.h>
#include <emscripten.h>
#include <sys/stat.h>

#include "game.h"
#include "platform/web/records_store.h"

namespace {

int flips = 0;

}  // namespace

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

// The browser's SDL draws straight onto the page's canvas, so a flip has
// nothing to show; it is counted, and the page may watch it (Module.onFlip).
// clang-format off
EM_JS(void, report_flip, (int count), {
  if (Module['onFlip']) Module['onFlip'](count);
});
// clang-format on

extern "C" int SDL_Flip(SDL_Surface*) {
  report_flip(++flips);
  return 0;
}

int main(int argc, char* argv[]) {
  // Emscripten's file mask starts at 0777, which would leave a saved record
  // file readable by no one; a desktop session's usual mask instead.
  umask(022);
  register_fonts();
  open_records_store();
  return SDL_main(argc, argv);
}
