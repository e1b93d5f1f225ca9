#pragma once
// The program's icon: a small picture of our own, built into the program.

// Makes the picture the program's icon resource (before the icon is extracted).
void RegisterProgramIcon();
