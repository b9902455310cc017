#pragma once
#include <SDL.h>

void mini2(int& score, SDL_Surface*& screen);
