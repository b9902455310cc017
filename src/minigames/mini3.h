#pragma once
#include <SDL.h>

void mini3(int& score, SDL_Surface*& screen);
