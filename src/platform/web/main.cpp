// The page's entry: the fonts and the saved records are made ready first,
// then the game runs exactly as on the desktop.
#include <SDL.h>
#include <emscripten.h>

#include "game.h"

namespace {

int flips = 0;

}  // namespace

// The browser's SDL_ttf draws text in the CSS font family named like the file
// it is asked to open, so each font file of the data package becomes a font
// face of that name.
EM_ASYNC_JS(void, register_fonts, (), {
  for (const name of['title.ttf', 'text.ttf']) {
    const face = new FontFace(name, FS.readFile(name));
    document.fonts.add(await face.load());
  }
});

// The records directory keeps its files in the browser's IndexedDB: loaded
// before the game starts, and saved again whenever a file in it has been
// written and closed or renamed into place (a save ends with one of these).
EM_ASYNC_JS(void, open_records_store, (const char* where), {
  const dir = UTF8ToString(where);
  FS.mkdir(dir);
  FS.mount(IDBFS, {}, dir);
  await new Promise(done => FS.syncfs(true, error => {
    if (error) console.warn('Saved records could not be read:', error);
    done();
  }));
  let saving = false;
  let again = false;
  const save = () => {
    if (saving) {
      again = true;
      return;
    }
    saving = true;
    FS.syncfs(false, error => {
      if (error) console.warn('Records could not be saved in the browser:', error);
      saving = false;
      if (again) {
        again = false;
        save();
      }
    });
  };
  const inside = path => typeof path == 'string' && path.startsWith(dir + '/');
  const rename = FS.rename;
  FS.rename = function(from, to) {
    rename.apply(FS, arguments);
    if (inside(to)) save();
  };
  const close = FS.close;
  FS.close = function(stream) {
    const path = stream.path;
    const writing = (stream.flags & 3) != 0;  // O_WRONLY or O_RDWR
    close.apply(FS, arguments);
    if (writing && inside(path)) save();
  };
});

// The browser's SDL draws straight onto the page's canvas, so a flip has
// nothing to show; it is counted, and the page may watch it (Module.onFlip).
EM_JS(void, report_flip, (int count), {
  if (Module['onFlip']) Module['onFlip'](count);
});

extern "C" int SDL_Flip(SDL_Surface*) {
  report_flip(++flips);
  return 0;
}

int main(int argc, char* argv[]) {
  register_fonts();
  open_records_store("/records");
  return SDL_main(argc, argv);
}
