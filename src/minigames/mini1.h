#pragma once
#include <SDL.h>

void mini1(int& score, SDL_Surface*& screen);
