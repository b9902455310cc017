#pragma once

// The screen and the main game's fixed numbers.
const int WIDTH = 640;
const int HEIGHT = 480;
const int BPP = 32;
const int PIRATE_WIDTH = 80;
const int PIRATE_HEIGHT = 80;
const int VELOCITY = 10;
const int FRAMES_PER_SECOND = 25;
const int FRAME_MS = 1000 / FRAMES_PER_SECOND;
