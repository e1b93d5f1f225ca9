#pragma once
// What the harness gathers for the trace lines of the front-end scenes: the BGM requests and
// the files written during each frame (sounds it gathers for every line).
#include <string>
#include <utility>
#include <vector>

// From now on the files the program writes are noted; Stop ends it.
void StartFrontEndTrace();
void StopFrontEndTrace();
void NoteBgmRequest(int screen, int number);
// The trace line of a frame that a front-end scene ran, with what was gathered during it;
// false for any other frame. Either way the frame's gathering starts anew, and bgm holds the
// frame's BGM requests, screen and number, for a stage's line.
bool TakeFrontEndTraceLine(int frame, const std::vector<int>& sounds, std::vector<std::pair<int, int>>& bgm,
                           std::string& line);
