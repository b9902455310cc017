// In the browser the records live in a directory of their own that the
// browser keeps (IndexedDB) across visits; the game's directory is the data
// package, rebuilt on every visit.
#include "platform/records_location.h"

#include <emscripten.h>

#include "platform/web/records_store.h"

namespace {

const char* const RECORDS_DIR = "/records";

}  // namespace

// A save ends with an fsync of the file and of its directory; in an
// IndexedDB-backed directory the fsync writes what this tab changed there
// and waits for it, so every save is kept at once, and a write the browser
// refuses (a full store) fails the save as a full disk does, the page told
// why (records_store.js). A browser without IndexedDB, or one that refuses
// it (private windows, blocked storage), leaves the directory in memory: the
// game plays, the records last as long as the page, and the page says so
// (Module.onRecordsStore(false)).
// clang-format off
EM_ASYNC_JS(void, mount_indexed_db, (const char* where), {
  const dir = UTF8ToString(where);
  FS.mkdir(dir);
  let kept = true;
  try {
    // IDBFS aborts the whole program when the browser has no IndexedDB.
    if (!window.indexedDB) throw new Error('no IndexedDB');
    await RecordsStore.open(dir);
  } catch (error) {
    console.warn('The records cannot be kept in this browser:', error);
    kept = false;
    try { FS.unmount(dir); } catch (notMounted) {}
  }
  if (Module['onRecordsStore']) Module['onRecordsStore'](kept);
});

// Other tabs of the page share the store: what they saved since this one
// last wrote is read in before a save, which then reads the records and the
// best replays as they are kept now, as the desktop's save does under its lock.
EM_ASYNC_JS(void, read_other_tabs_saves, (), {
  await RecordsStore.refresh();
});
// clang-format on

void open_records_store() { mount_indexed_db(RECORDS_DIR); }

std::string records_path() { return std::string(RECORDS_DIR) + "/" + RECORDS_FILE; }

std::string records_path_for_saving() {
  read_other_tabs_saves();
  return records_path();
}

std::string replay_path(const std::string& name) { return std::string(RECORDS_DIR) + "/" + name; }
