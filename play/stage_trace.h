#pragma once
// One line of the harness trace: the state of the running stage after a frame, with exact bits
// for the hero's position and velocity and a hash over every chara, item, block cell and
// stage variable, so that two runs can be compared line by line.
#include <string>
#include <utility>
#include <vector>

// frame: the harness's frame number; sounds: the sound-table entries asked for in the frame;
// bgm: the BGM requests of the frame, each screen and number as sent.
std::string StageTraceLine(int frame, const std::vector<int>& sounds, const std::vector<std::pair<int, int>>& bgm);
