#pragma once
// A clear of the demo under the harness: challenge stage 7 is the ridge's first part, alone in
// the list, so its goal clears the stage and, with no second part, the clear ranks. The keys
// choose it from the title and walk the ridge to its goal with the stretches' run of jumps.
#include <string>

#include "tests/app/story_script.h"

namespace qbtest {

inline constexpr STORYTAP kChallengeClearTaps[] = {
    {50, "DOWN"}, {55, "DOWN"}, {60, "Z"},                               // title: challenge
    {100, "DOWN"}, {105, "DOWN"}, {110, "DOWN"}, {115, "DOWN"}, {120, "DOWN"}, {125, "DOWN"},  // stage 7
    {140, "Z"},
};
inline constexpr int kChallengeClearPlay = 319;   // the stage's first play frame
inline constexpr int kChallengeClearFrame = 750;  // the frame the goal clears it in
// The clear's frames count 4 a frame to 200: the result window shows from this frame on.
inline constexpr int kChallengeResultsFrame = kChallengeClearFrame + 50;

// The script's lines for the taps and the walk, without the close.
inline std::string ChallengeClearKeys()
{
    std::string keys;
    for (const STORYTAP& tap : kChallengeClearTaps)
        keys += "keys " + std::to_string(tap.frame) + " " + tap.key + "\nkeys " + std::to_string(tap.frame + 1) + "\n";
    return keys + StretchRunKeys(kChallengeClearPlay, 3);
}

}  // namespace qbtest
