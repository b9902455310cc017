#include "platform/page_files.h"

#include <emscripten.h>

#include "platform/catalog.h"

// The service worker keeps what was fetched for the next visit offline.
// clang-format off
EM_ASYNC_JS(void, fetch_page_file, (const char* file), {
  const name = UTF8ToString(file);
  if (FS.analyzePath(name).exists) return;
  try {
    const response = await fetch(name);
    if (!response.ok) return;
    const bytes = new Uint8Array(await response.arrayBuffer());
    const slash = name.lastIndexOf("/");
    if (slash > 0) FS.mkdirTree(name.substring(0, slash));
    FS.writeFile(name, bytes);
  } catch (offline) {
  }
});
// clang-format on

// A link is a stranger's: what it unpacks to is counted as it comes, so a
// small link of a huge game costs no more than the bound. The browser
// inflates each piece it is given whole (a kilobyte can come to a megabyte),
// so the deflated bytes go in a kilobyte at a time, as the inflated ones are
// read. 0: nothing to unpack, 1: unpacked, 2: not deflated data, 3: more
// than most, 4: no way to inflate here.
// clang-format off
EM_ASYNC_JS(int, inflate_file, (const char* packed_name, const char* replay_name, double most), {
  const packed = UTF8ToString(packed_name);
  const replay = UTF8ToString(replay_name);
  if (!FS.analyzePath(packed).exists) return 0;
  const bytes = FS.readFile(packed);
  FS.unlink(packed);
  if (typeof DecompressionStream == 'undefined') return 4;
  const inflating = new DecompressionStream('deflate-raw');
  const writer = inflating.writable.getWriter();
  const reader = inflating.readable.getReader();
  (async () => {
    for (let at = 0; at < bytes.length; at += 1024) await writer.write(bytes.subarray(at, at + 1024));
    await writer.close();
  })().catch(() => {});  // the reader hears of it too
  // Written once whole: a file grown a piece at a time is copied again and again.
  const pieces = [];
  let size = 0;
  try {
    for (;;) {
      const piece = await reader.read();
      if (piece.done) break;
      size += piece.value.length;
      if (size > most) {
        reader.cancel().catch(() => {});
        writer.abort().catch(() => {});
        return 3;
      }
      pieces.push(piece.value);
    }
  } catch (corrupt) {
    return 2;
  }
  const whole = new Uint8Array(size);
  size = 0;
  for (const piece of pieces) {
    whole.set(piece, size);
    size += piece.length;
  }
  FS.writeFile(replay, whole);
  return 1;
});
// clang-format on

void fetch_page_files(const std::vector<std::string>& files) {
  for (const std::string& file : files) fetch_page_file(file.c_str());
}

bool unpack_page_file(const std::string& path, size_t most, std::string& error) {
  const std::string packed = path + ".deflate";
  switch (inflate_file(packed.c_str(), path.c_str(), static_cast<double>(most))) {
    case 2:
      // Said when a shared link's data is not a deflated game.
      // fit: PAGE 600
      error = tr("this link does not hold a replay");
      return false;
    case 3:
      error = tr("too large for a replay");
      return false;
    case 4:
      // Said when the browser has no way to inflate a shared link's game.
      // fit: PAGE 600
      error = tr("this browser cannot unpack it");
      return false;
    default:
      return true;
  }
}
