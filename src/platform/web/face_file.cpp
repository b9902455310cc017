#include "platform/face_file.h"

#include <emscripten.h>

// A face the data package lacks (the faces of other scripts stay out of it)
// is fetched from beside the page, only for a language that draws with it;
// a face that cannot be had leaves the text to the browser's own fonts.
// clang-format off
EM_ASYNC_JS(void, add_font_family, (const char* file), {
  const name = UTF8ToString(file);
  Module.brinegrabFaces = Module.brinegrabFaces || new Set();
  if (Module.brinegrabFaces.has(name)) return;
  try {
    let data;
    if (FS.analyzePath(name).exists) {
      data = FS.readFile(name);
    } else {
      const response = await fetch(name);
      if (!response.ok) return;
      data = new Uint8Array(await response.arrayBuffer());
    }
    document.fonts.add(await new FontFace(name, data).load());
    Module.brinegrabFaces.add(name);
  } catch (e) {
    console.warn('brinegrab: no face ' + name + ': ' + e);
  }
});
// clang-format on

bool make_face_file_ready(const char* file) {
  add_font_family(file);
  return true;
}
