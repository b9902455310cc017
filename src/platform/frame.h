#pragma once

// Called when a frame ends without waiting for the next one (it took its
// whole 40 ms or more). The desktop needs nothing; a page must still give the
// browser its turn, or it stops drawing and reading keys.
void frame_without_wait();
