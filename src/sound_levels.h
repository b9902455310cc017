#pragma once
// The game's sound levels: the music's and the effects' volumes, and M,
// which mutes both and brings back the chosen ones.

// Whether M has muted the game.
bool sound_muted();

// The music's and the effects' volumes (0 to MIX_MAX_VOLUME): set now, or,
// while muted, when M unmutes.
void set_sound_levels(int music, int effects);

// What M does: mutes music and effects together, or brings their volumes back.
void toggle_mute();
