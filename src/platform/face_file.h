#pragma once

// Makes a font file ready to be opened by TTF_OpenFont. The desktop opens the
// file itself: nothing to do. The browser draws text in a CSS font family
// named like the file, so there the file becomes such a family (once).
void make_face_file_ready(const char* file);
