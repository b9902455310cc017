#include "page_texts.h"

#include "controls.h"
#include "keycaps.h"
#include "platform/catalog.h"
#include "platform/page.h"
#include "platform/records_location.h"
#include "platform/regular_file.h"
#include "replay_files.h"

namespace {

struct PAGE_TEXT {
  const char* name;  // the page's
  const char* text;
};

// clang-format off
const PAGE_TEXT TEXTS[] = {
    // fit: PAGE 600
    {"loading", N_("Loading…")},
    // fit: PAGE 600
    {"ended", N_("The game has ended")},
    // fit: PAGE 600
    {"replay-ended", N_("The replay has ended")},
    // TRANSLATORS: {1} says why, e.g. "the replay's frames are corrupt".
    // fit: PAGE 600
    {"refused", N_("This replay cannot be watched: {1}")},
    // TRANSLATORS: {1} says which game made it, e.g. "made by Brinegrab 1.2;
    // this game is Brinegrab 1.3".
    // fit: PAGE 600
    {"made-by", N_("This replay was recorded by a different build of the game: {1}")},
    // {1} is the browser's reason, in English.
    // fit: PAGE 600
    {"not-loaded", N_("The game could not be loaded: {1}")},
    // fit: PAGE 600
    {"stopped", N_("The game has stopped on an error")},
    // {1} says what is wrong with the link, in English.
    // fit: PAGE 600
    {"link-refused", N_("The shared game cannot be opened: {1}")},
    // The buttons under a message, each an action with its verb; a button
    // takes two lines where one is too narrow.
    // fit: PAGE 300 2
    {"again", N_("Play again")},
    // fit: PAGE 300 2
    {"watch-best", N_("Watch the best game")},
    // fit: PAGE 300 2
    {"share", N_("Share this game")},
    {"share-link", N_("Link to this game")},
    // The notes beside the picture wrap to as many lines as they need.
    {"records-kept", N_("Records are kept in this browser.")},
    {"records-lost", N_("Records cannot be kept in this browser: they last until the page is closed.")},
    // TRANSLATORS: {1} says why, e.g. "the browser's storage for this page is full".
    {"records-refused", N_("The browser did not keep the last save: {1}. The next save tries again.")},
    {"store-full", N_("the browser's storage for this page is full")},
    {"sound", N_("Click, touch or press a key to start the sound.")},
    // fit: PAGE 200
    {"full-screen", N_("Full screen")},
    // fit: PAGE 120
    {"keys", N_("Keys")},
    // The touch controls' accessible names; each begins with the control's
    // visible label, which {1} stands for.
    {"quit-name", N_("{1}: hold to leave, end the game")},
    // The pause button's accessible name: an action, a verb.
    {"pause-name", N_("Pause")},
    // {1} is the control's visible label.
    {"players-name", N_("{1}: one or two players")},
    // {1} is the control's visible label.
    {"next-name", N_("{1}: next, play")},
    // {1} is the control's visible label.
    {"settings-name", N_("{1}: keys, speed, volumes")},
    {"pirate-one", N_("Pirate one")},
    {"pirate-one-up", N_("Pirate one up")},
    {"pirate-one-down", N_("Pirate one down")},
    {"pirate-one-left", N_("Pirate one left")},
    {"pirate-one-right", N_("Pirate one right")},
    {"pirate-one-strikes", N_("Pirate one strikes")},
    {"pirate-two", N_("Pirate two")},
    {"pirate-two-up", N_("Pirate two up")},
    {"pirate-two-down", N_("Pirate two down")},
    {"pirate-two-left", N_("Pirate two left")},
    {"pirate-two-right", N_("Pirate two right")},
    {"pirate-two-strikes", N_("Pirate two strikes")},
    // The touch control's label, in a 58 px button.
    // fit: PAGE 54
    {"settings", N_("Settings")},
};
// clang-format on

// The menu's touch controls carry the names of the keys they press.
const struct {
  const char* name;
  ACTION action;
} KEYS[] = {{"quit-key", MENU_QUIT},
            {"players-key", MENU_PLAYERS},
            {"next-key", MENU_NEXT},
            {"settings-key", MENU_SETTINGS}};

const char* text_named(const std::string& name) {
  for (const PAGE_TEXT& text : TEXTS) {
    if (name == text.name) return tr(text.text);
  }
  return "{1}";
}

// The key list beside the picture: a row's keys (the player's own, or as
// the help texts name the defaults), then what they do.
struct KEY_ROW {
  ACTION actions[4];
  int count;
  bool as_keycaps;  // each key by its keycap, even a default one
  const char* what;
};

// clang-format off
const KEY_ROW KEY_ROWS[] = {
    // What the keys do, in the key list beside the picture, whose cells
    // wrap to as many lines as they need.
    {{MENU_NEXT}, 1, false, N_("next, play, play again")},
    {{MENU_QUIT}, 1, false, N_("quit, end the game")},
    {{MENU_PLAYERS}, 1, false, N_("one or two players (mode screen)")},
    {{MENU_SETTINGS}, 1, false, N_("settings: keys, speed, volumes (mode screen)")},
    {{P1_UP, P1_DOWN, P1_LEFT, P1_RIGHT}, 4, false, N_("pirate one")},
    {{P1_STRIKE}, 1, false, N_("pirate one strikes (sword fight)")},
    {{P2_UP, P2_DOWN, P2_LEFT, P2_RIGHT}, 4, false, N_("pirate two")},
    {{P2_STRIKE}, 1, false, N_("pirate two strikes (sword fight)")},
    {{P1_UP, P2_UP}, 2, true, N_("jump (trap run)")},
    {{DESK_PAUSE, DESK_PAUSE_KEY}, 2, false, N_("pause; press it again, or Enter, to go on")},
    {{DESK_MUTE}, 1, false, N_("sound off and on")},
    {{DESK_FULL_SCREEN_ALT, DESK_FULL_SCREEN}, 2, false, N_("full screen or window")},
};
// clang-format on

std::string keys_of(const KEY_ROW& row) {
  std::string keys;
  std::string last;
  for (int i = 0; i < row.count; ++i) {
    const CONTROL& c = control(row.actions[i]);
    const SDLKey key = key_of(c.action);
    const std::string name = !row.as_keycaps && key == c.key ? tr(c.shown) : keycap(key);
    if (name == last) continue;
    keys += (keys.empty() ? "" : ", ") + name;
    last = name;
  }
  return first_capital(keys);
}

std::string kept(const std::string& path) {
  FILE_STAMP stamp;
  return file_stamp(path.c_str(), stamp) ? path : std::string();
}

}  // namespace

void tell_page_texts() {
  if (!page_listens()) return;
  for (const PAGE_TEXT& text : TEXTS) page_text(text.name, tr(text.text));
  for (const auto& key : KEYS) page_text(key.name, keycap(key_of(key.action)));
  tell_page_keys();
}

void tell_page_keys() {
  if (!page_listens()) return;
  std::string rows;
  for (const KEY_ROW& row : KEY_ROWS) rows += keys_of(row) + '\t' + tr(row.what) + '\n';
  // fit: PAGE 160
  rows += std::string(tr("Gamepad")) + '\t' +
          tr("stick or d-pad moves, A (or the button chosen in the settings) strikes, Start is "
             "Enter, Back is Escape");
  page_text("key-list", rows);
}

void tell_page_refusal(const std::string& why, REPLAY_REFUSAL refusal) {
  if (!page_listens()) return;
  const char* const format =
      text_named(refusal == REPLAY_REFUSAL::OTHER_BUILD ? "made-by" : "refused");
  page_replay_refused(fill(format, {why}));
}

void tell_page_replays() {
  if (!page_listens()) return;
  RECORDED_GAME best;
  std::string best_path;
  std::string unused;
  load_best_kept(best, unused, false, &best_path);
  page_replays(kept(replay_path("last.replay")), best_path);
}
