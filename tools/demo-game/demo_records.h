#pragma once
// The demo game's data files, written with the runtime's own record writers: System.dat, the
// ten databases, the common palette, the stages and the world map.
#include <string>
#include <vector>

// The stage files of the demo, in playing order, as the program names them.
extern const char* const kDemoStageFiles[];
extern const int kDemoStages;

// Writes every record file under root (a program path without a trailing backslash). False,
// with the reason in error, when one cannot be written. The program's databases, common
// palette and template sources are as they were afterwards.
bool WriteDemoRecords(const std::string& root, std::string& error);
