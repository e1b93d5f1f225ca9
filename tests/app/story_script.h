#pragma once
// The demo's story played under the harness: the keys of a whole run from the title through the
// world map, the story menu and the first stage back to the title and a continued slot, and
// what the demo draws where the menus and the map put their pictures.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/app/trace_lines.h"
#include "tools/demo-game/demo_bitmaps.h"

namespace qbtest {

// A key pressed for one frame, then every key released.
struct STORYTAP {
    int frame;
    const char* key;
};

// The frames of the run (virtual clock, fade speed 10: a fade lasts 10 frames, the stage's
// start caption 80).
inline constexpr STORYTAP kStoryTaps[] = {
    {60, "Z"},                                   // title: new story
    {130, "UP"},                                 // map (3, 7): grass above, refused
    {140, "DOWN"},                               // the second stage's barrier below, refused
    {150, "RIGHT"},                              // (4, 7)
    {160, "RIGHT"},                              // (5, 7): the first stage asks by itself
    {170, "X"},                                  // no: back on (4, 7)
    {180, "X"},                                  // the story menu
    {250, "Z"},                                  // save: the slot list
    {260, "DOWN"}, {262, "DOWN"}, {264, "DOWN"}, // slot 3 (the fourth row)
    {270, "Z"}, {275, "UP"}, {280, "Z"},         // "セーブする": Story04.dat
    {290, "X"},                                  // back to the items
    {300, "DOWN"}, {305, "Z"}, {310, "UP"}, {315, "Z"},  // automatic saving on: Story04.dat again
    {325, "X"},                                  // back to the map
    {390, "RIGHT"}, {400, "UP"}, {405, "Z"},     // the first stage: yes
    {670, "DOWN"}, {675, "Z"},                   // the continue screen: back to the map
    {740, "X"},                                  // the story menu again
    {790, "Z"}, {800, "Z"}, {805, "UP"}, {810, "Z"}, {815, "X"},  // saved into slot 3 again
    {820, "DOWN"}, {822, "DOWN"}, {824, "DOWN"}, {830, "Z"}, {835, "UP"}, {840, "Z"},  // to the title
    {900, "DOWN"}, {905, "Z"},                   // continue
    {910, "DOWN"}, {912, "DOWN"}, {914, "DOWN"}, {920, "Z"},  // slot 3
};
// In the stage the hero walks right into the first gap from this frame until the continue
// screen shows.
inline constexpr int kStoryWalkFrom = 470;
inline constexpr int kStoryWalkTo = 655;
inline constexpr int kStoryClose = 980;

// The script: the taps, the walk, these dumps and the close.
inline std::string StoryScript(const std::vector<std::pair<int, std::string>>& dumps, int closeFrame = kStoryClose)
{
    std::string script = "clock virtual\ntrace trace.txt\n";
    for (const STORYTAP& tap : kStoryTaps) {
        if (tap.frame >= closeFrame) break;
        script += "keys " + std::to_string(tap.frame) + " " + tap.key + "\nkeys " + std::to_string(tap.frame + 1) + "\n";
        if (tap.frame == 405) {
            script += "keys " + std::to_string(kStoryWalkFrom) + " RIGHT\nkeys " + std::to_string(kStoryWalkTo) + "\n";
        }
    }
    for (const auto& [frame, file] : dumps) script += "dump " + std::to_string(frame) + " " + file + "\n";
    return script + "close " + std::to_string(closeFrame) + "\n";
}

// The frame the stretches' run lets its keys go.
inline int StretchRunEnd(int play, int stretches) { return play + 107 + 139 * stretches; }

// Keys that hold right from 10 frames into the play and jump as the demo's stretches of 13
// columns ask, twice a stretch (139 frames of walking): onto the ledge, off its end across the
// gap, then up beyond it; every key goes up after the last stretch. Three stretches cross a
// stage of 40 columns to its last block.
inline std::string StretchRunKeys(int play, int stretches)
{
    std::string keys = "keys " + std::to_string(play + 10) + " RIGHT\n";
    for (int s = 0; s < stretches; ++s)
        for (int jump : {play + 20 + 139 * s, play + 107 + 139 * s})
            keys += "keys " + std::to_string(jump) + " RIGHT Z\nkeys " + std::to_string(jump + 6) + " RIGHT\n";
    return keys + "keys " + std::to_string(StretchRunEnd(play, stretches)) + "\n";
}

// What the demo's accessory sheet holds where the menus take their pictures: the large cursor's
// middle row, the small cursor's, the walker's head and the life icon, in palette colours.
inline constexpr int kCursorColour = 1 + 5 * 36 + 5 * 6;   // yellow of the colour cube
inline constexpr int kWalkerColour = 1 + 0 * 36 + 1 * 6 + 5;
inline constexpr int kLifeColour = 1 + 5 * 36 + 0 * 6 + 1;
inline constexpr int kTextColour = 241;                     // the fonts' ink

// A palette colour as a frame of bpp bits shows it: 16-bit frames keep 5, 6 and 5 bits and
// widen them again.
inline std::uint32_t ShownColour(int index, int bpp)
{
    const std::uint32_t rgb = DemoPaletteColor(index);
    if (bpp != 16) return rgb;
    const std::uint32_t r = rgb >> 19 & 31, g = rgb >> 10 & 63, b = rgb >> 3 & 31;
    return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

// The first line at or after `from` (0-based) whose field has the value; -1 when none.
inline int FindLine(const std::vector<TRACELINE>& trace, const std::string& field, const std::string& value,
                    int from = 0)
{
    for (int i = from; i < static_cast<int>(trace.size()); ++i)
        if (trace[i].count(field) && trace[i].at(field) == value) return i;
    return -1;
}

}  // namespace qbtest
