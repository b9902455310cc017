#include "settings.h"

#include <SDL_mixer.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "constants.h"
#include "languages.h"
#include "name_value.h"
#include "platform/catalog.h"
#include "platform/events.h"
#include "platform/file_problem.h"
#include "platform/quoted.h"
#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/say.h"
#include "platform/settings_location.h"
#include "sound_levels.h"

namespace {

const char* const SPEED_NAME = "speed";
const char* const MUSIC_NAME = "music";
const char* const EFFECTS_NAME = "effects";
const char* const LANGUAGE_NAME = "language";
const char* const BUTTON_SUFFIX = ".button";
const char* const NO_BUTTON = "none";
// No settings file of ours comes near this: a larger one is not read.
const size_t MOST_BYTES = 64 * 1024;
// Of the text of a line, as much as a message repeats.
const size_t MOST_SHOWN = 40;
// Of the problems of one file, as many as are said one by one.
const size_t MOST_SAID = 3;

SETTINGS& in_use() {
  static SETTINGS settings;
  return settings;
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A whole number in [low, high] that is a multiple of step; false otherwise.
bool read_percent(const std::string& text, int low, int high, int step, int& out) {
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  if (value < low || value > high || value % step != 0) return false;
  out = value;
  return true;
}

bool read_button(const std::string& text, int& out) {
  if (lower(text) == NO_BUTTON) {
    out = -1;
    return true;
  }
  return read_percent(text, 0, 99, 1, out);
}

int player_of(ACTION action) { return static_cast<int>(action) / PLAYER_MOVES; }

// One line's setting into settings; an empty string when it was taken,
// otherwise what is wrong with it.
std::string read_line(const std::string& name, const std::string& value, SETTINGS& settings) {
  if (name == SPEED_NAME) {
    return read_percent(value, SLOWEST_SPEED, FULL_SPEED, SPEED_STEP, settings.speed)
               ? ""
               : tr("the speed is 50 to 100 in steps of 10");
  }
  if (name == MUSIC_NAME || name == EFFECTS_NAME) {
    int& level = name == MUSIC_NAME ? settings.music : settings.effects;
    return read_percent(value, 0, 100, VOLUME_STEP, level)
               ? ""
               : tr("a volume is 0 to 100 in steps of 10");
  }
  if (name == LANGUAGE_NAME) {
    if (value == ENGLISH) {
      settings.language = value;
      return "";
    }
    for (const LANGUAGE& l : languages()) {
      if (value == l.code) {
        settings.language = value;
        return "";
      }
    }
    // {1} is a value of the settings file's language line.
    return fill(tr("no language is called {1}"), {quoted(value, MOST_SHOWN)});
  }
  for (int a = 0; a < PLAYER_ACTIONS; ++a) {
    const ACTION action = static_cast<ACTION>(a);
    const std::string own = control(action).name;
    if (name == own) {
      const SDLKey key = key_named(value);
      // {1} is a key's name as the settings file wrote it.
      if (key == SDLK_UNKNOWN) return fill(tr("no key is called {1}"), {quoted(value, MOST_SHOWN)});
      settings.keys[a] = key;
      return "";
    }
    if (name == own + BUTTON_SUFFIX) {
      int button = -1;
      // "none" is a word of the settings file: keep it as it is.
      if (!read_button(value, button)) return tr("a button is a number from 0 to 99 or none");
      settings.buttons[a] = button;
      return "";
    }
  }
  // {1} is a name as the settings file wrote it.
  return fill(tr("no setting is called {1}"), {quoted(name, MOST_SHOWN)});
}

// Undoes, one at a time, the keys and buttons of the file that clash with
// another action's, the later of the two first.
void undo_clashes(SETTINGS& settings, std::vector<std::string>& problems) {
  const SETTINGS defaults;
  for (int round = 0; round < 2 * PLAYER_ACTIONS; ++round) {
    bool clean = true;
    for (int a = PLAYER_ACTIONS - 1; a >= 0; --a) {
      const ACTION action = static_cast<ACTION>(a);
      const ACTION key_owner = key_taken(settings, action, settings.keys[a]);
      if (key_owner != ACTIONS && settings.keys[a] != defaults.keys[a]) {
        // The settings file's names, kept as they are: {1} is a setting
        // ("p1.up"), {2} a key's name ("space"), {3} the setting that has the key.
        const char* const clash = tr("{1}: key {2} is already used by {3}");
        problems.push_back(fill(
            clash, {control(action).name, key_name(settings.keys[a]), control(key_owner).name}));
        settings.keys[a] = defaults.keys[a];
        clean = false;
      }
      const ACTION button_owner = button_taken(settings, action, settings.buttons[a]);
      if (button_owner != ACTIONS && settings.buttons[a] != defaults.buttons[a]) {
        // The settings file's names, kept as they are: {1} is a setting
        // ("p1.strike.button"), {2} a button's number, {3} the setting that
        // has the button.
        const char* const clash = tr("{1}: button {2} is already used by {3}");
        problems.push_back(
            fill(clash, {std::string(control(action).name) + BUTTON_SUFFIX,
                         std::to_string(settings.buttons[a]), control(button_owner).name}));
        settings.buttons[a] = defaults.buttons[a];
        clean = false;
      }
    }
    if (clean) return;
  }
  // Defaults cannot clash; with every key back to them, nothing does.
  const int speed = settings.speed, music = settings.music, effects = settings.effects;
  const std::string language = settings.language;
  settings = defaults;
  settings.language = language;
  settings.speed = speed;
  settings.music = music;
  settings.effects = effects;
}

int mixer_level(int percent) { return percent * MIX_MAX_VOLUME / 100; }

}  // namespace

SETTINGS::SETTINGS() : keys(), buttons(), speed(FULL_SPEED), music(100), effects(100) {
  for (int a = 0; a < PLAYER_ACTIONS; ++a) {
    keys[a] = control(static_cast<ACTION>(a)).key;
    buttons[a] = control(static_cast<ACTION>(a)).button;
  }
}

bool SETTINGS::operator==(const SETTINGS& other) const {
  for (int a = 0; a < PLAYER_ACTIONS; ++a) {
    if (keys[a] != other.keys[a] || buttons[a] != other.buttons[a]) return false;
  }
  return speed == other.speed && music == other.music && effects == other.effects &&
         language == other.language;
}

std::string settings_text(const SETTINGS& settings) {
  std::ostringstream out;
  out << "# Brinegrab's settings: keys by SDL's key names, pad buttons by number.\n";
  for (int a = 0; a < PLAYER_ACTIONS; ++a) {
    const char* name = control(static_cast<ACTION>(a)).name;
    out << name << " = " << key_name(settings.keys[a]) << "\n";
    out << name << BUTTON_SUFFIX << " = ";
    if (settings.buttons[a] < 0) {
      out << NO_BUTTON << "\n";
    } else {
      out << settings.buttons[a] << "\n";
    }
  }
  out << SPEED_NAME << " = " << settings.speed << "\n";
  out << MUSIC_NAME << " = " << settings.music << "\n";
  out << EFFECTS_NAME << " = " << settings.effects << "\n";
  // Without a choice, no line: the file stays as it always was.
  if (!settings.language.empty()) out << LANGUAGE_NAME << " = " << settings.language << "\n";
  return out.str();
}

SETTINGS settings_from_text(const std::string& text, std::vector<std::string>& problems) {
  SETTINGS settings;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string content = trim(line);
    if (content.empty() || content[0] == '#') continue;
    std::string name, value;
    const std::string problem = split_name_value(content, name, value)
                                    ? read_line(lower(name), value, settings)
                                    : tr("not \"name = value\"");
    if (!problem.empty()) {
      // {1} is the number of a line of the settings file, {2} what is wrong with it.
      problems.push_back(fill(tr("line {1}: {2}"), {std::to_string(number), problem}));
    }
  }
  undo_clashes(settings, problems);
  return settings;
}

ACTION key_taken(const SETTINGS& settings, ACTION action, SDLKey key) {
  for (int a = 0; a < WATCH_GAME; ++a) {
    if (a == action || a == DESK_FULL_SCREEN_ALT) continue;  // Enter with Alt only
    const SDLKey held = a < PLAYER_ACTIONS ? settings.keys[a] : control(static_cast<ACTION>(a)).key;
    if (held == key) return static_cast<ACTION>(a);
  }
  return ACTIONS;
}

ACTION button_taken(const SETTINGS& settings, ACTION action, int button) {
  if (button < 0) return ACTIONS;
  for (int a = 0; a < ACTIONS; ++a) {
    if (a == action) continue;
    if (a < PLAYER_ACTIONS) {
      if (player_of(static_cast<ACTION>(a)) == player_of(action) && settings.buttons[a] == button) {
        return static_cast<ACTION>(a);
      }
    } else if (control(static_cast<ACTION>(a)).button == button) {
      return static_cast<ACTION>(a);
    }
  }
  return ACTIONS;
}

const SETTINGS& current_settings() { return in_use(); }

void use_settings(const SETTINGS& settings) {
  const bool levels_changed =
      settings.music != in_use().music || settings.effects != in_use().effects;
  in_use() = settings;
  speak(settings.language);
  use_bindings(settings.keys, settings.buttons);
  if (levels_changed) set_sound_levels(mixer_level(settings.music), mixer_level(settings.effects));
}

bool assisted() { return in_use().speed < FULL_SPEED; }

int game_frame_ms() { return FRAME_MS * FULL_SPEED / in_use().speed; }

Uint32 game_wait_ms(Uint32 ms) {
  return ms * static_cast<Uint32>(FULL_SPEED) / static_cast<Uint32>(in_use().speed);
}

void load_settings() {
  const std::string path = settings_path();
  if (path.empty()) return;
  std::string text;
  int error = 0;
  const READ_RESULT got = read_regular_file(path.c_str(), MOST_BYTES, text, error);
  if (got == READ_RESULT::MISSING) return;  // no file: the game as it always plays
  if (got != READ_RESULT::WHOLE) {
    const std::string kilobytes = std::to_string(MOST_BYTES / 1024);
    // {1} is a number of kilobytes.
    const char* const too_large = tr("larger than {1} KB");
    const std::string why =
        got == READ_RESULT::TOO_LARGE ? fill(too_large, {kilobytes}) : read_problem(got, error);
    // {1} is the settings file, {2} why it cannot be read.
    say(fill(tr("cannot read the settings in {1}: {2}; playing with the defaults"),
             {quoted(path), why}));
    return;
  }
  std::vector<std::string> problems;
  const SETTINGS settings = settings_from_text(text, problems);
  // A junk file costs a few lines, not one a line.
  for (size_t i = 0; i < problems.size() && i < MOST_SAID; ++i) {
    // {1} is the settings file, {2} what is wrong with one of its lines.
    say(fill(tr("{1}: {2}; that setting keeps its default"), {quoted(path), problems[i]}));
  }
  if (problems.size() > MOST_SAID) {
    // {1} is the settings file, {2} a number of lines (one or more), set
    // apart so that no word need agree with it.
    say(fill(tr("{1}: more lines not understood ({2} in all); they keep their defaults"),
             {quoted(path), std::to_string(problems.size() - MOST_SAID)}));
  }
  use_settings(settings);
}

bool save_settings() {
  const std::string path = settings_path();
  std::string error = tr("no home directory to keep them in");
  if (!path.empty()) {
    // A directory that cannot be made is named with its own reason: the
    // write would only see it missing.
    std::string dir;
    const int unmade = make_directories_above(path, &dir);
    const int failed =
        unmade != 0 ? unmade : replace_file(path, settings_text(in_use()), MOST_BYTES);
    if (failed == 0) return true;
    // {1} is a folder, {2} the system's reason.
    error = unmade != 0 ? fill(tr("cannot make {1}: {2}"), {quoted(dir), std::strerror(unmade)})
                        : file_error_text(failed);
  }
  // {1} is the settings file, {2} why it cannot be saved.
  say(fill(tr("cannot save the settings in {1}: {2}"),
           {path.empty() ? "~/.config/brinegrab" : quoted(path), error}));
  return false;
}
