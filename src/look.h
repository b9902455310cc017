#pragma once
// The game's look in one place: its faces at their sizes, its named colours
// and where a screen of ours puts its lines. The faces are opened once, at
// start-up (and again when the player picks another language), and closed at
// shutdown.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

enum class FACE {
  TITLE,  // title.ttf at 86: the title, the banner, the final score
  TEXT,   // text.ttf at 36: every other line of the screens, the mini-games' scores
  FIGHT,  // text.ttf at 50: the sword fight's count
  LIST,   // text.ttf at 24: a long list (the settings)
  MARK,   // text.ttf at 20: small marks over a game (a replay being watched)
  COUNT
};

// Opens every face for language ("de", "pt_BR", "ja"; "" for English): the
// game's own two files for the languages they can write, faces with the
// script's letters for the others. False (with every face closed) when one
// cannot be opened.
bool open_look(const std::string& language = "");
void close_look();
// The face open_look or face_of_language could not open last, and why (a
// text to translate, or the library's reason in English).
struct LOOK_FAILURE {
  std::string file, why;
};
const LOOK_FAILURE& look_failure();

// The face, or null before open_look and after close_look.
TTF_Font* face(FACE f);
// Face f as the look of another language has it (its script's file and
// size), for a text in that language whatever the language in use: each
// language's own name on the settings screen. Opened on first use and closed
// with the look; null before open_look, after close_look, or when it cannot
// be opened.
TTF_Font* face_of_language(FACE f, const std::string& language);
// The file the face was opened from, for the language last opened.
const char* face_file(FACE f);
// The face whose enumerator reads name ("TITLE", "TEXT", ...); false for
// another name.
bool face_named(const std::string& name, FACE* f);

// The palette.
constexpr SDL_Color GOLD = {200, 150, 0, 0};   // the in-game score, a chosen line
constexpr SDL_Color BROWN = {100, 50, 10, 0};  // every other text
constexpr SDL_Color PANEL = {45, 22, 4, 0};    // under text that stands over a picture

// The game flow's two faces and two colours, by the names its screens use:
// font, the title face (the title, the banner, the final score); font2, the
// text face (everything else); textcolor, the in-game score's; textcolor2,
// every other text's.
inline TTF_Font* font() { return face(FACE::TITLE); }
inline TTF_Font* font2() { return face(FACE::TEXT); }
constexpr SDL_Color textcolor = GOLD;
constexpr SDL_Color textcolor2 = BROWN;

// Where the screens put their lines: the title at the top, the keys that
// work on the screen near the bottom.
const int TITLE_Y = 10;
const int KEYS_Y = 400;

// A row of the list's face: the settings screen's lines, 24 pixels apart.
const int LIST_ROW_HEIGHT = 24;
// How far a text in font, standing for face f, goes up so that its baseline
// lies where the English face's does: a face with a taller ascent (room for
// accented capitals, a script's own) keeps its letters in the row. 0 for the
// English face itself.
int baseline_lift(TTF_Font* font, FACE f);

// A plain rectangle under text, by default the panel's colour.
void draw_panel(SDL_Surface* dest, const SDL_Rect& area, SDL_Color colour = PANEL);
