// In the browser the records live in a directory of their own that the
// browser keeps (IndexedDB) across visits; the game's directory is the data
// package, rebuilt on every visit.
#include "platform/records_location.h"

#include <emscripten.h>

#include "platform/web/records_store.h"

namespace {

const char* const RECORDS_DIR = "/records";

}  // namespace

// A save ends with an fsync of the file and of its directory; emscripten's
// fsync of a file in an IndexedDB-backed directory writes the whole
// directory to IndexedDB and waits for it, so every save is kept at once.
// clang-format off
EM_ASYNC_JS(void, mount_indexed_db, (const char* where), {
  const dir = UTF8ToString(where);
  FS.mkdir(dir);
  FS.mount(IDBFS, {}, dir);
  await new Promise(done => FS.syncfs(true, error => {
    if (error) console.warn('The saved records could not be read:', error);
    done();
  }));
});
// clang-format on

void open_records_store() { mount_indexed_db(RECORDS_DIR); }

std::string records_path() { return std::string(RECORDS_DIR) + "/" + RECORDS_FILE; }

std::string records_path_for_saving() { return records_path(); }
