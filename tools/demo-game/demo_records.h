#pragma once
// Writes the demo game's records with the runtime's own record writers: System.dat, the ten
// databases, the world map, the common palette and the stages.
#include <string>

#include "tools/demo-game/demo_content.h"

// Writes every record file of game under root (a program path without a trailing backslash).
// False, with the reason in error, when one cannot be written. The program's databases,
// common palette and template sources are as they were afterwards.
bool WriteDemoRecords(DEMOGAME& game, const std::string& root, std::string& error);
