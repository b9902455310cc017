#include "platform/face_file.h"

#include <emscripten.h>

// A file not in the page's file system yet (a language's faces come apart
// from the data package) is left to the browser's fallback until it is.
// clang-format off
EM_ASYNC_JS(void, add_font_family, (const char* file), {
  const name = UTF8ToString(file);
  Module.brinegrabFaces = Module.brinegrabFaces || new Set();
  if (Module.brinegrabFaces.has(name) || !FS.analyzePath(name).exists) return;
  const face = new FontFace(name, FS.readFile(name));
  document.fonts.add(await face.load());
  Module.brinegrabFaces.add(name);
});
// clang-format on

void make_face_file_ready(const char* file) { add_font_family(file); }
