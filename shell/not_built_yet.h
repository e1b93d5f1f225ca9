#pragma once
// A stand-in for a piece of the program that is not built yet says so once per run, in the
// report file and the error-check log, and then does nothing.

void LogNotBuiltYet(const char* what);
