#include "platform/window_setup.h"

#include <SDL_image.h>

namespace {

bool windowed_chosen = false;

}  // namespace

void choose_windowed(bool windowed) { windowed_chosen = windowed; }

Uint32 video_mode_flags() { return windowed_chosen ? 0u : static_cast<Uint32>(SDL_FULLSCREEN); }

void set_window_icon() {
  SDL_Surface* icon = IMG_Load("icon.png");
  if (icon == nullptr) return;
  SDL_WM_SetIcon(icon, nullptr);
  SDL_FreeSurface(icon);
}
