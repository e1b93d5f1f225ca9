#pragma once
// The entries of the demo's databases that its templates and stages name.

// Sound effects.
enum { DEMO_SOUND_JUMP = 1, DEMO_SOUND_COIN, DEMO_SOUND_HIT, DEMO_SOUNDS = DEMO_SOUND_HIT };
// Tunes.
enum { DEMO_BGM_OGG = 1, DEMO_BGM_MIDI, DEMO_BGMS = DEMO_BGM_MIDI };
