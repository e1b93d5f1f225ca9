#pragma once
// Start-up and shutdown on the window thread: InitGame between the window's creation and the
// game thread's start, UnInitGame after every other thread has ended (or none started).

bool InitGame(const char* commandLine, int showCommand);
void UnInitGame();
