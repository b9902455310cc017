#include "platform/web/shared_link.h"

#include <emscripten.h>

// A link is a stranger's: what it unpacks to is counted as it comes, so a
// small link of a huge game costs no more than the bound. The browser
// inflates each piece it is given whole (a kilobyte can come to a megabyte),
// so the deflated bytes go in a kilobyte at a time, as the inflated ones are
// read.
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

UNPACKED unpack_shared_game(const std::string& replay, size_t most) {
  const std::string packed = replay + ".deflate";
  return static_cast<UNPACKED>(
      inflate_file(packed.c_str(), replay.c_str(), static_cast<double>(most)));
}
