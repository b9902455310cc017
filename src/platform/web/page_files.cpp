#include "platform/page_files.h"

#include <emscripten.h>

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

void fetch_page_files(const std::vector<std::string>& files) {
  for (const std::string& file : files) fetch_page_file(file.c_str());
}
