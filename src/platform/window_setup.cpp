#include "platform/window_setup.h"

#include <SDL_image.h>

#include <cstdio>

#include "platform/catalog.h"
#include "platform/regular_file.h"
#include "platform/say.h"

namespace {

bool windowed_chosen = false;

}  // namespace

void choose_windowed(bool windowed) { windowed_chosen = windowed; }

Uint32 video_mode_flags() { return windowed_chosen ? 0u : static_cast<Uint32>(SDL_FULLSCREEN); }

void set_window_icon() {
  const FILE_KIND kind = regular_file_kind("icon.png");
  if (kind == FILE_KIND::NOT_REGULAR) {
    say(tr("icon.png is not a regular file: the window keeps the default icon"));
    return;
  }
  if (kind != FILE_KIND::REGULAR) return;
  SDL_Surface* icon = IMG_Load("icon.png");
  if (icon == nullptr) return;
  SDL_WM_SetIcon(icon, nullptr);
  SDL_FreeSurface(icon);
}
