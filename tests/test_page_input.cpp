// What the page around the browser build holds (its touch controls and the
// browser's gamepads), read by the event layer as the game polls: each
// change becomes the keys the keyboard would give for the same actions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "controls.h"
#include "game.h"
#include "harness.h"
#include "page_texts.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "platform/page.h"
#include "replay_files.h"
#include "settings.h"

namespace {

PAGE_INPUT held_now;
PAGE_INPUT read_held() { return held_now; }

PAGE_INPUT touch(unsigned one, unsigned two = 0, unsigned menu = 0) {
  PAGE_INPUT input;
  input.moves[0] = one;
  input.moves[1] = two;
  input.menu = menu;
  return input;
}

PAGE_INPUT pad(int which, Uint32 buttons, Sint16 x = 0, Sint16 y = 0, Uint8 hat = 0) {
  PAGE_INPUT input;
  input.pads[which].buttons = buttons;
  input.pads[which].axes[0] = x;
  input.pads[which].axes[1] = y;
  input.pads[which].hat = hat;
  return input;
}

constexpr unsigned bit(int n) { return 1u << n; }

// "+up" for a press of Up, "-w" for a release of W.
std::vector<std::string> poll_all() {
  std::vector<std::string> seen;
  SDL_Event e;
  while (poll_event(&e)) {
    if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) continue;
    seen.push_back((e.type == SDL_KEYDOWN ? "+" : "-") +
                   std::string(SDL_GetKeyName(e.key.keysym.sym)));
  }
  return seen;
}

struct STEP {
  PAGE_INPUT held;
  std::vector<std::string> keys;  // what the game reads after the change
};

struct CASE {
  const char* name;
  std::vector<STEP> steps;
};

class PAGE_INPUT_POLL : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_NE(SDL_SetVideoMode(640, 480, 32, 0), nullptr);
    harness::drain_queue();
    use_settings(SETTINGS());
    held_now = PAGE_INPUT();
    before = set_page_reader(read_held);
  }
  void TearDown() override {
    held_now = PAGE_INPUT();
    poll_all();
    set_page_reader(before);
    use_settings(SETTINGS());
    SDL_Quit();
  }
  void run(const CASE& c) {
    for (size_t i = 0; i < c.steps.size(); ++i) {
      held_now = c.steps[i].held;
      EXPECT_EQ(poll_all(), c.steps[i].keys) << c.name << ", step " << i;
    }
  }
  PAGE_READER before = nullptr;
};

}  // namespace

// With no settings file: player one's arrow keys and Right Ctrl, player
// two's W, A, S, D and G, Enter, Space, Escape, C and P for the menu, and a
// pad's button 0 strikes, 6 is Escape, 7 is Enter.
TEST_F(PAGE_INPUT_POLL, HeldControlsBecomeTheDefaultKeys) {
  const CASE cases[] = {
      {"a touch held, then let go",
       {{touch(bit(HELD_LEFT)), {"+left"}}, {touch(bit(HELD_LEFT)), {}}, {touch(0), {"-left"}}}},
      {"a finger slides from Left onto Up: Left goes first",
       {{touch(bit(HELD_LEFT)), {"+left"}},
        {touch(bit(HELD_UP)), {"-left", "+up"}},
        {touch(0), {"-up"}}}},
      {"both players and the menu at once",
       {{touch(bit(HELD_STRIKE), bit(HELD_DOWN) | bit(HELD_STRIKE), bit(HELD_NEXT)),
         {"+right ctrl", "+s", "+g", "+return"}},
        {touch(0), {"-right ctrl", "-s", "-g", "-return"}}}},
      {"the menu's five",
       {{touch(0, 0, bit(HELD_PLAYERS)), {"+space"}},
        {touch(0, 0, bit(HELD_SETTINGS)), {"-space", "+c"}},
        {touch(0, 0, bit(HELD_QUIT)), {"-c", "+escape"}},
        {touch(0), {"-escape"}}}},
      {"pad one's Start, then Back",
       {{pad(0, bit(7)), {"+return"}},
        {pad(0, 0), {"-return"}},
        {pad(0, bit(6)), {"+escape"}},
        {pad(0, 0), {"-escape"}}}},
      {"pad one's strike, Back and Start",
       {{pad(0, bit(0)), {"+right ctrl"}},
        {pad(0, bit(6) | bit(7)), {"-right ctrl", "+escape", "+return"}},
        {pad(0, 0), {"-escape", "-return"}}}},
      {"pad two's stick past the dead zone, then its d-pad",
       {{pad(1, 0, -20000, 0), {"+a"}},
        {pad(1, 0, -5000, 0), {"-a"}},
        {pad(1, 0, 0, 0, SDL_HAT_UP | SDL_HAT_RIGHT), {"+w", "+d"}},
        {pad(1, 0), {"-w", "-d"}}}},
      {"a pad's other buttons press nothing", {{pad(0, bit(3) | bit(9)), {}}, {pad(0, 0), {}}}},
  };
  for (const CASE& c : cases) run(c);
}

// The players' chosen keys and buttons, as the settings screen sets them.
TEST_F(PAGE_INPUT_POLL, HeldControlsFollowThePlayersChoice) {
  SETTINGS chosen;
  chosen.keys[P1_LEFT] = SDLK_j;
  chosen.buttons[P1_STRIKE] = 2;
  chosen.buttons[P2_UP] = 4;
  use_settings(chosen);
  const CASE cases[] = {
      {"a touch presses the chosen key", {{touch(bit(HELD_LEFT)), {"+j"}}, {touch(0), {"-j"}}}},
      {"the strike is the chosen button, button 0 no longer",
       {{pad(0, bit(0)), {}}, {pad(0, bit(2)), {"+right ctrl"}}, {pad(0, 0), {"-right ctrl"}}}},
      {"a button chosen for a direction", {{pad(1, bit(4)), {"+w"}}, {pad(1, 0), {"-w"}}}},
  };
  for (const CASE& c : cases) run(c);
}

// A key changed while its control is held: the release goes to the key
// that was pressed, so no key stays down.
TEST_F(PAGE_INPUT_POLL, ReleaseGoesWhereThePressWent) {
  held_now = touch(bit(HELD_RIGHT));
  EXPECT_EQ(poll_all(), std::vector<std::string>{"+right"});
  SETTINGS chosen;
  chosen.keys[P1_RIGHT] = SDLK_l;
  use_settings(chosen);
  held_now = touch(0);
  EXPECT_EQ(poll_all(), std::vector<std::string>{"-right"});
}

namespace {

std::vector<std::pair<std::string, std::string>> told;
void tell(const std::string& what, const std::string& text) { told.emplace_back(what, text); }

// What the page was told under a name, each time.
std::vector<std::string> told_as(const std::string& what) {
  std::vector<std::string> texts;
  for (const auto& [name, text] : told) {
    if (name == what) texts.push_back(text);
  }
  return texts;
}

}  // namespace

// The page's key list: a row's keys as the help names the defaults ("Arrow
// keys", "Alt+Enter"), a key the player chose by its keycap, a name once
// however many of the row's keys share it; then what they do.
TEST(PAGE_TEXTS, TheKeyListNamesTheKeysAsThePlayersHaveThem) {
  const std::string gamepad =
      "Gamepad\tstick or d-pad moves, A (or the button chosen in the settings) strikes, Start is "
      "Enter, Back is Escape";
  SETTINGS remapped;
  remapped.keys[P1_STRIKE] = SDLK_KP_ENTER;
  remapped.keys[P2_UP] = SDLK_i;
  const struct {
    const char* what;
    SETTINGS settings;
    std::string list;
  } cases[] = {
      {"the default keys", SETTINGS(),
       "Enter\tnext, play, play again\n"
       "Escape\tquit, end the game\n"
       "Space\tone or two players (mode screen)\n"
       "C\tsettings: keys, speed, volumes (mode screen)\n"
       "Arrow keys\tpirate one\n"
       "Right Ctrl\tpirate one strikes (sword fight)\n"
       "W, A, S, D\tpirate two\n"
       "G\tpirate two strikes (sword fight)\n"
       "Up, W\tjump (trap run)\n"
       "P, Pause\tpause; press it again, or Enter, to go on\n"
       "M\tsound off and on\n"
       "Alt+Enter, F11\tfull screen or window\n" +
           gamepad},
      {"keys the players chose", remapped,
       "Enter\tnext, play, play again\n"
       "Escape\tquit, end the game\n"
       "Space\tone or two players (mode screen)\n"
       "C\tsettings: keys, speed, volumes (mode screen)\n"
       "Arrow keys\tpirate one\n"
       "Keypad Enter\tpirate one strikes (sword fight)\n"
       "I, W, A, S, D\tpirate two\n"
       "G\tpirate two strikes (sword fight)\n"
       "Up, I\tjump (trap run)\n"
       "P, Pause\tpause; press it again, or Enter, to go on\n"
       "M\tsound off and on\n"
       "Alt+Enter, F11\tfull screen or window\n" +
           gamepad},
  };
  const PAGE_TOLD before = set_page_told(tell);
  for (const auto& c : cases) {
    use_settings(c.settings);
    told.clear();
    tell_page_texts();
    EXPECT_EQ(told_as("key-list"), std::vector<std::string>{c.list}) << c.what;
    // Each text once, under a name of its own.
    std::vector<std::string> names;
    for (const auto& t : told) names.push_back(t.first);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << c.what;
    EXPECT_EQ(told_as("next-key"), std::vector<std::string>{"Enter"}) << c.what;
    EXPECT_EQ(told_as("players-key"), std::vector<std::string>{"Space"}) << c.what;
  }
  use_settings(SETTINGS());
  set_page_told(before);
}

// A replay the page asked for and the game cannot watch: one sentence for a
// replay another version made, another for a damaged one.
TEST(PAGE_TEXTS, TheRefusalSaysWhichGameMadeAReplayOrWhyItCannotBeWatched) {
  const std::string here = BRINEGRAB_TEST_VERSION;
  const struct {
    const char* what;
    std::string bytes;
    std::string told;  // the whole sentence, or its beginning when ending in "…"
  } cases[] = {
      {"made by another version",
       "Brinegrab replay\nversion = 1.1.0\nformat = 1\nseed = 1\ndraws = 0\nevents = 0\n"
       "frames = 0\ndata\n" +
           std::string(1, '\0'),
       "This replay was recorded by a different build of the game: made by Brinegrab 1.1.0; "
       "this game is Brinegrab " +
           here},
      {"not a replay", "a shopping list\n", "This replay cannot be watched: …"},
  };
  const std::string path =
      std::filesystem::temp_directory_path() / ("brinegrab-refused-" + std::to_string(getpid()));
  const PAGE_TOLD before = set_page_told(tell);
  for (const auto& c : cases) {
    std::ofstream(path, std::ios::binary) << c.bytes;
    told.clear();
    // Asked for as the page asks, on the command line.
    std::vector<std::string> args = {"brinegrab", "--replay", path};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(SDL_main(3, argv.data()), 1) << c.what;
    testing::internal::GetCapturedStderr();
    const std::vector<std::string> sentences = told_as("replay-refused");
    ASSERT_EQ(sentences.size(), 1u) << c.what;
    const std::string ellipsis = "…";
    const bool beginning =
        c.told.size() > ellipsis.size() &&
        c.told.compare(c.told.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0;
    if (beginning) {
      const std::string start = c.told.substr(0, c.told.size() - ellipsis.size());
      EXPECT_EQ(sentences[0].rfind(start, 0), 0u) << c.what << ": " << sentences[0];
      EXPECT_GT(sentences[0].size(), start.size()) << c.what;
    } else {
      EXPECT_EQ(sentences[0], c.told) << c.what;
    }
  }
  set_page_told(before);
  std::filesystem::remove(path);
}

// The page and the game meet by name (page.h): every control on the page is
// an action the game names, and each the game names has its control; a
// pad's fields and the messages the page listens for are the game's, and
// the page's scripts keep no list of the names of their own.
TEST(PAGE_DOOR, ThePageAndTheGameUseTheSameNames) {
  const std::string web = std::string(BRINEGRAB_SOURCE_DIR) + "/src/platform/web/";
  const std::string shell = harness::file_text(web + "shell.html");
  const std::string input = harness::file_text(web + "input.js");
  const std::string page = harness::file_text(web + "page.js");
  const auto found = [](const std::string& text, const std::string& pattern) {
    std::set<std::string> names;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it) {
      names.insert((*it)[1]);
    }
    return names;
  };
  std::set<std::string> actions;
  for (const char* player : PAGE_PLAYER_NAMES) {
    for (const char* move : HELD_MOVE_NAMES) actions.insert(std::string(player) + "-" + move);
  }
  for (const char* menu : HELD_MENU_NAMES) actions.insert(menu);
  EXPECT_EQ(found(shell, "data-action=\"([^\"]*)\""), actions);

  const size_t pad_fields = input.find("function padFields");
  ASSERT_NE(pad_fields, std::string::npos);
  const std::string returned =
      input.substr(input.find("return {", input.find("return {", pad_fields) + 1));
  const std::set<std::string> pad(std::begin(PAD_FIELD_NAMES), std::end(PAD_FIELD_NAMES));
  EXPECT_EQ(found(returned.substr(0, returned.find('}')), "(\\w+):"), pad);

  const std::set<std::string> messages(std::begin(PAGE_MESSAGE_NAMES),
                                       std::end(PAGE_MESSAGE_NAMES));
  EXPECT_EQ(found(page, "what == '(\\w+)'"), messages);

  for (const std::string& name : actions) {
    EXPECT_EQ(input.find("'" + name.substr(name.find('-') + 1) + "'"), std::string::npos)
        << "input.js names " << name << " itself";
  }
}
