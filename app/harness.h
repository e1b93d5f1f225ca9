#pragma once
// The whole-program harness: the script named by QUILLBRAMWOOD_SCRIPT drives the run frame by
// frame (see platform/harness/harness_script.h for its lines), and QUILLBRAMWOOD_ECLOG=1 switches the
// error-check log on.
#include <string>

// Reads the script, if one is named, and installs its answers, clock and frame hooks. False
// with a message when the script cannot be read.
bool StartHarness(std::string& error);

// Puts the system clock and the default box answers back and drops the frame hooks, before
// the program's static objects go.
void StopHarness();

// Switches the error-check log on when the script or the environment asks for it.
void ApplyHarnessLogSwitch();

// The frame the harness has counted last (0 before the first).
int HarnessFrame();

// True from the end of the frame that the script closes after: the game thread runs no frame
// from then on, whenever the window thread takes the close.
bool HarnessHoldsFrames();
