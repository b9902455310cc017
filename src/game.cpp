#include "game.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "assets.h"
#include "attract_mode.h"
#include "constants.h"
#include "controls.h"
#include "game_over.h"
#include "game_setup.h"
#include "globals.h"
#include "image.h"
#include "languages.h"
#include "look.h"
#include "music.h"
#include "notice.h"
#include "page_texts.h"
#include "pause.h"
#include "platform/catalog.h"
#include "platform/display.h"
#include "platform/gamepad.h"
#include "platform/library_noise.h"
#include "platform/options.h"
#include "platform/quoted.h"
#include "platform/records_location.h"
#include "platform/say.h"
#include "platform/signals.h"
#include "platform/window_setup.h"
#include "play_loop.h"
#include "random.h"
#include "replay_files.h"
#include "replay_session.h"
#include "replay_watch.h"
#include "screens.h"
#include "settings.h"

namespace {

// Set when start-up ended because a stop signal asked the game to end.
bool stopped_in_start_up = false;

// How long the window says why a kept game cannot be watched, unless a key
// closes it first.
const Uint32 NOT_WATCHED_MS = 5000;

void report_bad_files(const std::vector<BAD_FILE>& bad) {
  char cwd[4096];
  const std::string where =
      getcwd(cwd, sizeof cwd) != nullptr ? quoted(cwd) : tr("the working directory");
  // {1} is a directory, or "the working directory"; a list of files follows.
  say(fill(tr("cannot start: these game files are missing, unreadable, corrupt or not regular "
              "files in {1}:"),
           {where}));
  for (const BAD_FILE& file : bad) {
    std::fprintf(stderr, "  %s: %s\n", tr(file.problem.c_str()), file.path.c_str());
  }
  std::fprintf(stderr, "%s\n",
               tr("Start the game from its game directory, built afresh if a file is corrupt "
                  "(./play does both)."));
}

void close_libraries() {
  TTF_Quit();
  Mix_CloseAudio();
  SDL_Quit();
}

template <class T>
void delete_object(T*& object) {
  delete object;
  object = nullptr;
}

}  // namespace

bool start_up(GAME& game) {
  stopped_in_start_up = false;
  // Keep the pixel art crisp when the picture is scaled to a large monitor,
  // unless the player has chosen otherwise.
  setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
  // Before SDL starts: SDL would take SIGINT and SIGTERM for a window close
  // that start-up never reads (it leaves handlers it finds in place). From
  // here on a stop signal ends start-up at the next step or file.
  install_stop_signals();
  const auto stopped = [] { return stopped_in_start_up = stop_requested(); };
  {
    const LIBRARY_NOISE_OFF quiet;
    // Video first: the audio device may be missing, and then the game runs silent.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
      report_display_failure(SDL_GetError());
      return false;
    }
    if (!display_shows_game()) {
      SDL_Quit();
      return false;
    }
    if (stopped()) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096) != 0) {
      say(tr("no sound device: playing silent"));
    }
  }
  // After the audio device, which takes the volumes.
  load_settings();
  speak(current_settings().language);
  if (stopped()) return false;
  TTF_Init();
  // Every file is decoded once before the window opens: a damaged file would
  // otherwise give, say, an invisible cannonball that still hits.
  const std::vector<BAD_FILE> bad = bad_game_files();
  if (stopped()) return false;
  if (!bad.empty()) {
    report_bad_files(bad);
    close_libraries();
    return false;
  }
  set_window_icon();
  screen = SDL_SetVideoMode(WIDTH, HEIGHT, BPP, video_mode_flags());
  if (screen == nullptr) {
    // {1} is the library's reason, in English.
    say(fill(tr("cannot open the 640x480 display: {1}"), {escaped(SDL_GetError())}));
    close_libraries();
    return false;
  }
  // The window's title.
  SDL_WM_SetCaption(tr("Animation"), nullptr);
  open_gamepads();
  set_paused_look(draw_paused);

  game.myminis = new minis;
  game.myfight = new fighting;
  game.fps = TIMER();
  game.score = 0;
  game.ghost_counter = 0;
  game.ghost_counter2 = 0;
  game.heart_sheet = load_image("sprites/heart_sheet.png");
  if (game.heart_sheet != nullptr) SDL_SetAlpha(game.heart_sheet, SDL_SRCALPHA, 100);
  game.heart_offset[0] = SDL_Rect{0, 0, 40, 40};
  game.heart_offset[1] = SDL_Rect{40, 0, 40, 40};
  game.multi = false;
  game.myPirate = new PIRATE;
  game.myCannonball = new CANNONBALL;
  game.myCoin = new COIN;
  game.myRuby = new RUBY;
  game.myGPIRATE = new GHOSTPIRATE;
  game.myPirate2 = new PIRATE2;
  game.myTreasure = new TREASURE;
  game.bg = load_image("sprites\\bg.jpg");
  if (!open_faces()) {
    // {1} is the library's reason, in English.
    say(fill(tr("cannot open the fonts title.ttf and text.ttf: {1}"), {escaped(TTF_GetError())}));
    shut_down(game);
    return false;
  }
  return true;
}

void run(GAME& game) {
  start = false;
  quit = false;
  game.score = 0;
  switch_music(game.music, "sfx\\open.wav");
  splash(game);
  game.myRuby->replace();
  game.myGPIRATE->replace();
  // The attract mode's game is played from here, between two rounds of the
  // title screens, never from inside one of their polls.
  for (;;) {
    bool due = false;
    {
      const ATTRACT_SCOPE attract;
      if (title_screens(game)) break;
      due = attract.due();
    }
    if (!due) return;
    play_attract(game);
  }

  while (restart) {
    start = false;
    quit = false;
    game.score = 0;
    const REPLAY_START begin = replay_start(game);
    prepare_before_mode(game);
    if (!mode_screen(game)) return;
    prepare_after_mode(game);
    const bool saved = play_recorded(game, begin);
    quit = false;
    // A stop signal ends the program once the game is saved (a second one
    // cannot cut the save short): the game-over screen would only flash.
    if (stop_requested()) {
      restart = false;
      return;
    }
    game_over_screen(game, saved);
  }
}

void shut_down(GAME& game) {
  Mix_HaltMusic();
  Mix_FreeMusic(game.music);
  game.music = nullptr;
  SDL_FreeSurface(game.bg);
  game.bg = nullptr;
  close_look();
  Mix_CloseAudio();
  close_gamepads();
  SDL_Quit();
  screen = nullptr;
  delete_object(game.myCannonball);
  delete_object(game.myPirate);
  delete_object(game.myCoin);
  delete_object(game.myRuby);
  delete_object(game.myGPIRATE);
  delete_object(game.myPirate2);
  delete_object(game.myTreasure);
  delete_object(game.myminis);
  delete_object(game.myfight);
  SDL_FreeSurface(game.heart_sheet);
  game.heart_sheet = nullptr;
}

int SDL_main(int argc, char* args[]) {
  // The event layer learns the keys before anything reads an event.
  publish_controls();
  // The system's language for the help and the messages; the settings may
  // choose another once read.
  speak("");
  OPTIONS options;
  const int status = parse_options(argc, args, options, stdout, stderr);
  if (status >= 0) return status;
  tell_page_texts();
  choose_windowed(options.windowed);
  use_attract_mode(options.attract);
  use_splash(options.splash);
  RECORDED_GAME replay;
  NOT_WATCHED not_watched;
  REFUSED_REPLAY refused;
  if (options.replay != nullptr &&
      !load_named_replay(options.replay, replay, &not_watched, &refused)) {
    if (!refused.why.empty()) tell_page_refusal(refused.why, refused.kind);
    if (not_watched.line.empty()) return 1;
  }
  seed_rand(static_cast<unsigned>(std::time(nullptr)));
  GAME game;
  if (!start_up(game)) {
    // The player quit during start-up. As after a run a signal ended, closing
    // the audio device would only keep the player waiting a fifth of a second.
    if (stopped_in_start_up) leave_at_once();
    return 1;
  }
  if (!not_watched.line.empty()) {
    // Said on the window too, over the backdrop.
    SDL_BlitSurface(game.bg, nullptr, screen, nullptr);
    hold_notice(not_watched.line, not_watched.reason, NOT_WATCHED_MS);
    if (stop_requested()) leave_at_once();
    shut_down(game);
    return 1;
  }
  if (options.replay != nullptr) {
    const bool as_recorded = watch_replay(game, replay);
    shut_down(game);
    tell_page_replays();
    return as_recorded ? 0 : 1;
  }
  run(game);
  if (stop_requested()) leave_at_once();
  shut_down(game);
  tell_page_replays();
  return 0;
}
