#include "pause.h"

#include <SDL_mixer.h>

#include <optional>

#include "platform/events.h"

namespace {

TTF_Font* paused_font = nullptr;
SDL_Color paused_colour = {};
PAUSED_LOOK paused_look = nullptr;
int guards = 0;
Uint32 paused_total = 0;

// The pause the event layer holds while P or a lost focus has paused a game.
std::optional<PAUSED_SCREEN> held;
const PAUSE_HOOK HOOK = {[] { held.emplace(); }, [] { held->show_again(); }, [] { held.reset(); }};

}  // namespace

PAUSABLE::PAUSABLE(TTF_Font* font, SDL_Color colour) {
  paused_font = font;
  paused_colour = colour;
  if (guards++ == 0) set_pause_hook(&HOOK);
}

PAUSABLE::~PAUSABLE() {
  if (--guards == 0) set_pause_hook(nullptr);
}

bool pausable() { return guards > 0; }

PAUSED_SCREEN::PAUSED_SCREEN()
    : screen(SDL_GetVideoSurface()), kept(nullptr), since(SDL_GetTicks()) {
  Mix_PauseMusic();
  Mix_Pause(-1);
  if (screen == nullptr) return;
  kept = SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE);
  if (paused_look != nullptr) paused_look(screen, paused_font, paused_colour);
  show_again();
}

PAUSED_SCREEN::~PAUSED_SCREEN() {
  if (kept != nullptr) SDL_BlitSurface(kept, nullptr, screen, nullptr);
  SDL_FreeSurface(kept);
  Mix_Resume(-1);
  Mix_ResumeMusic();
  paused_total += SDL_GetTicks() - since;
}

void PAUSED_SCREEN::show_again() {
  if (screen != nullptr) SDL_Flip(screen);
}

void set_paused_look(PAUSED_LOOK look) { paused_look = look; }

Uint32 paused_ms() { return paused_total; }
