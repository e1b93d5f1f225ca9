#pragma once
// The sound table of the start-up: which file each entry of g_SoundTable plays.

// Sizes g_SoundTable and g_SoundFileTable (new entries zeroed) and names every entry's file:
// entries 0..16 the built-in sounds of the System data, entry k + 16 Sound database entry k
// (entry 0 of the database has none), each with one copy, volume 0 and flag 1. The tables
// hold max(n, 1) + 16 entries for n database entries, so that all 17 built-in sounds fit
// even in a game whose database has no entry at all.
void FillSoundTable();
