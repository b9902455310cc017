#pragma once

// How many times faster than real time the waits of the game run: 1 for
// play; a replay being watched fast sets 2, 4 or 8. Only the desktop game's
// waits read it (platform/desktop/scaled_delay.cpp).
void set_time_scale(int times);
int time_scale();
