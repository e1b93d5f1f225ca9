#pragma once
// The demo game's sounds, made in code: short WAVE effects, and one tune written both as a
// Standard MIDI file and as an Ogg Vorbis file. The same bytes on every run.
#include <string>
#include <vector>

#include "tools/demo-game/demo_bitmaps.h"

// The sound-effect files of the demo, under "wave\".
std::vector<DEMOFILE> DemoSoundEffects();
// The demo tune as a one-track MIDI file.
std::string DemoMidiTune();
// The demo tune rendered as an Ogg Vorbis file; empty, with the reason in error, when the
// encoder fails.
std::string DemoOggTune(std::string& error);
