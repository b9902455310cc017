// Each library has a documented call that takes its messages: ALSA's
// snd_lib_error_set_handler, libwayland's wl_log_set_handler_client. They
// are looked up at run time, so the game needs neither library to start
// (nor its development files to build): SDL loads them when it uses them,
// and the handle opened here is the library SDL then uses.
#include "platform/library_noise.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

using ALSA_HANDLER = void (*)(const char* file, int line, const char* function, int err,
                              const char* format, ...);
using SET_ALSA_HANDLER = int (*)(ALSA_HANDLER);
using WAYLAND_HANDLER = void (*)(const char* format, va_list args);
using SET_WAYLAND_HANDLER = void (*)(WAYLAND_HANDLER);

void ignore_alsa(const char*, int, const char*, int, const char*, ...) {}
void ignore_wayland(const char*, va_list) {}
// What libwayland does by itself.
void print_wayland(const char* format, va_list args) { std::vfprintf(stderr, format, args); }

// The function named in the library, or null; the library stays loaded,
// as the handler set through it must.
template <class FUNCTION>
FUNCTION find(const char* library, const char* name) {
  void* handle = dlopen(library, RTLD_LAZY | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  void* symbol = dlsym(handle, name);
  FUNCTION function = nullptr;
  static_assert(sizeof function == sizeof symbol);
  std::memcpy(&function, &symbol, sizeof function);
  return function;
}

SET_ALSA_HANDLER set_alsa_handler() {
  static const auto set = find<SET_ALSA_HANDLER>("libasound.so.2", "snd_lib_error_set_handler");
  return set;
}

SET_WAYLAND_HANDLER set_wayland_handler() {
  static const auto set =
      find<SET_WAYLAND_HANDLER>("libwayland-client.so.0", "wl_log_set_handler_client");
  return set;
}

}  // namespace

LIBRARY_NOISE_OFF::LIBRARY_NOISE_OFF() {
  if (set_alsa_handler() != nullptr) set_alsa_handler()(ignore_alsa);
  if (set_wayland_handler() != nullptr) set_wayland_handler()(ignore_wayland);
}

LIBRARY_NOISE_OFF::~LIBRARY_NOISE_OFF() {
  // A null handler is ALSA's own again.
  if (set_alsa_handler() != nullptr) set_alsa_handler()(nullptr);
  if (set_wayland_handler() != nullptr) set_wayland_handler()(print_wayland);
}
