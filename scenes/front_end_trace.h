#pragma once
// The harness trace line of a frame that a front-end scene ran (title, world map, story menu,
// stage select, options): the scene and its state, the menu cursor's stack, the game and play
// modes, and what the frame asked of the rest of the program (sounds, BGM, files written), so
// that a whole story run can be compared line by line.
#include <string>
#include <utility>
#include <vector>

struct FRONTENDFRAME {
    int frame;                                  // the harness's frame number
    const std::vector<int>& sounds;             // sound-table entries asked for, in order
    const std::vector<std::pair<int, int>>& bgm;  // BGM requests: screen and number
    const std::vector<std::string>& files;      // files put in place, in order
};

// False (and no line) when the scene that ran the frame is not a front-end scene.
bool FrontEndTraceLine(const FRONTENDFRAME& frame, std::string& line);
