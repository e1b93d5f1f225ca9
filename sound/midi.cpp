#include "sound/midi.h"

#include "shell/not_built_yet.h"

cMidi::cMidi(const char*) { LogNotBuiltYet("MIDI player"); }

void cMidi::Play(int, int, int) {}

void cMidi::Stop(int) {}
