#pragma once

// Makes a font file ready to be opened by TTF_OpenFont; false when it must
// not be opened. The desktop opens the file itself, so it must be a regular
// file (a pipe there would never let the font open). The browser draws text
// in a CSS font family named like the file, so there the file becomes such a
// family (once).
bool make_face_file_ready(const char* file);
