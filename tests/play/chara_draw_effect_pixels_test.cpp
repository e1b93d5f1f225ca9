// Each draw effect's picture on the first frame of its effect, at 8, 16 and 32 bits, against
// literal pixels. The chara's 32 x 32 picture is four quarters A (top left), B, C, D with one
// dot E at (3, 3), drawn at screen (200, 200) over the backdrop Z. The geometric effects only
// move those colours about; the tint, the translucency, the mosaic and the blur compute new
// ones, written out here per depth.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "graphics/palette.h"
#include "tests/play/chara_draw_fixture.h"

namespace {

using qbtest::cImage;

// The colours of one display: the picture's, the backdrop's, and what the colour effects make
// of them ('T' A tinted, 'H' A over Z at half, 'M' the mosaic cell holding the dot, 'a' and 'b'
// the blur of A inside its quarter and across the edge of A and B).
struct EFFECTPIXELS {
    qbtest::cEffectMode mode;
    std::map<char, std::uint32_t> colours;
    PALETTEENTRY tint;   // palette colour 16, in the display's own component widths
};

const EFFECTPIXELS kEffectPixels[] = {
    {qbtest::kEffectModes[0],
     {{'A', 0xC80000}, {'B', 0x00C800}, {'C', 0x0000C8}, {'D', 0xC8C800}, {'Z', 0x282828}, {'E', 0x884000},
      {'T', 0x961E0A}, {'H', 0x781414}, {'M', 0xC70100}, {'a', 0xC80000}, {'b', 0x646400}},
     {100, 60, 20, 0}},
    {qbtest::kEffectModes[4],
     {{'A', 0xC800}, {'B', 0x0640}, {'C', 0x0019}, {'D', 0xCE40}, {'Z', 0x2945}, {'E', 0x8A00},
      {'T', 0x91C0}, {'H', 0x7082}, {'M', 0xC000}, {'a', 0xC800}, {'b', 0x6320}},
     {12, 30, 2, 0}},
    {qbtest::kEffectModes[5],
     {{'A', 40}, {'B', 41}, {'C', 42}, {'D', 43}, {'Z', 3}, {'E', 44}, {'T', 60}, {'H', 70}, {'M', 40}, {'a', 80}, {'b', 81}},
     {0, 0, 0, 0}},
};

void PrintTo(const EFFECTPIXELS& display, std::ostream* out) { *out << display.mode.name; }

struct EFFECTPROBE {
    int x, y;
    char colour;
};

struct EFFECTCASE {
    const char* name;
    int kind;
    std::vector<int> params;
    std::vector<EFFECTPROBE> probes;
};

const std::vector<EFFECTCASE> kEffectCases = {
    {"none", 0, {5, 0, 0}, {{200, 200, 'A'}, {231, 200, 'B'}, {200, 231, 'C'}, {231, 231, 'D'}, {199, 200, 'Z'}, {232, 231, 'Z'}, {203, 203, 'E'}}},
    {"burst: quarters 4 out", 1, {5, 4, 32},
     {{196, 196, 'A'}, {211, 211, 'A'}, {220, 196, 'B'}, {235, 196, 'B'}, {196, 220, 'C'}, {235, 235, 'D'}, {215, 215, 'Z'}, {212, 200, 'Z'}}},
    {"horizontal split: bands of 8 rows 4 apart", 2, {5, 4, 32, 4},
     {{204, 200, 'A'}, {203, 200, 'Z'}, {235, 200, 'B'}, {196, 208, 'A'}, {227, 208, 'B'}, {228, 208, 'Z'}, {204, 216, 'C'}, {235, 223, 'D'}, {196, 231, 'C'}, {228, 231, 'Z'}}},
    {"vertical split", 3, {5, 4, 32, 4},
     {{200, 204, 'A'}, {200, 203, 'Z'}, {200, 235, 'C'}, {208, 196, 'A'}, {208, 227, 'C'}, {208, 228, 'Z'}, {216, 204, 'B'}, {223, 235, 'D'}, {224, 196, 'B'}, {231, 228, 'Z'}}},
    {"horizontal wave: 3 waves, bands of 8 moved -8, 0, 8, 0", 4, {5, 8, 8, 3, 8},
     {{192, 200, 'A'}, {223, 200, 'B'}, {224, 200, 'Z'}, {200, 208, 'A'}, {208, 216, 'C'}, {239, 216, 'D'}, {207, 216, 'Z'}}},
    {"vertical wave", 5, {5, 8, 8, 3, 8},
     {{200, 192, 'A'}, {200, 223, 'C'}, {200, 224, 'Z'}, {216, 208, 'B'}, {216, 207, 'Z'}, {216, 239, 'D'}}},
    {"blink: hidden first", 6, {10, 2}, {{216, 216, 'Z'}, {200, 200, 'Z'}}},
    {"rotation A: a quarter turn clockwise", 7, {10, 90, 90},
     {{204, 204, 'C'}, {227, 204, 'A'}, {227, 227, 'B'}, {204, 227, 'D'}, {199, 216, 'Z'}}},
    {"rotation B", 8, {10, 90, 90}, {{204, 204, 'C'}, {227, 204, 'A'}, {227, 227, 'B'}, {204, 227, 'D'}, {199, 216, 'Z'}}},
    {"turn: 8 pixels in from each side", 9, {10, 8, 8},
     {{208, 200, 'A'}, {215, 200, 'A'}, {216, 200, 'B'}, {223, 200, 'B'}, {207, 200, 'Z'}, {224, 200, 'Z'}, {210, 228, 'C'}}},
    {"circle of radius 8", 10, {5, 8, 8, 1},
     {{216, 216, 'D'}, {215, 215, 'A'}, {209, 216, 'C'}, {208, 216, 'Z'}, {216, 208, 'Z'}, {216, 209, 'B'}, {222, 216, 'D'}, {216, 223, 'D'}}},
    {"zoom to 40", 11, {10, 40, 40}, {{196, 196, 'A'}, {235, 235, 'D'}, {195, 196, 'Z'}, {236, 200, 'Z'}, {215, 215, 'A'}, {216, 216, 'D'}}},
    {"lens of depth 5", 12, {10, 5, 5, 0, 0}, {{216, 216, 'D'}, {206, 216, 'C'}, {226, 216, 'D'}, {216, 206, 'B'}, {206, 206, 'A'}, {199, 200, 'Z'}}},
    {"tint toward colour 16 at level 1", 13, {10, 1, 1, 16}, {{200, 200, 'T'}, {199, 200, 'Z'}}},
    {"translucent", 14, {10, 9999}, {{200, 200, 'H'}, {199, 200, 'Z'}}},
    {"mosaic of cells of 8", 15, {10, 8, 8}, {{200, 200, 'M'}, {207, 207, 'M'}, {199, 200, 'Z'}, {200, 199, 'Z'}}},
    {"blur of strength 1", 16, {10, 1, 1}, {{205, 205, 'a'}, {216, 205, 'b'}}},
};

class CharaDrawEffectPixels : public qbtest::cCharaDrawTest, public testing::WithParamInterface<EFFECTPIXELS> {
protected:
    void SetUp() override
    {
        const EFFECTPIXELS& display = GetParam();
        SetUpMode(display.mode);
        const auto c = [&display](char letter) {
            const std::uint32_t p = display.colours.at(letter);
            return display.mode.nBpp == 32 ? 0xFF000000u | p : p;
        };
        SetPicture([&](int x, int y) {
            if (x == 3 && y == 3) return c('E');
            return y < 16 ? (x < 16 ? c('A') : c('B')) : (x < 16 ? c('C') : c('D'));
        });
        m_Backdrop = c('Z');
        m_SavedTable.assign(std::begin(g_BlendTable), std::end(g_BlendTable));
        m_SavedPalette.assign(std::begin(g_DisplayPalette), std::end(g_DisplayPalette));
        g_DisplayPalette[16] = display.tint;
        // The 8-bit tint and translucency read the blend table: A toward 16 is 60, A over Z
        // 70, A and B toward 31 (the 8-bit blur) 80 and 81.
        g_BlendTable[40 * 256 + 16] = 60;
        g_BlendTable[3 * 256 + 40] = 70;
        g_BlendTable[40 * 256 + 31] = 80;
        g_BlendTable[41 * 256 + 31] = 81;
    }
    void TearDown() override
    {
        std::copy(m_SavedTable.begin(), m_SavedTable.end(), g_BlendTable);
        std::copy(m_SavedPalette.begin(), m_SavedPalette.end(), g_DisplayPalette);
        qbtest::cCharaDrawTest::TearDown();
    }
    std::uint32_t m_Backdrop = 0;
    std::vector<BYTE> m_SavedTable;
    std::vector<PALETTEENTRY> m_SavedPalette;
};

TEST_P(CharaDrawEffectPixels, EachKindDrawsItsFirstFrameAsWritten)
{
    const EFFECTPIXELS& display = GetParam();
    const std::uint32_t mask = display.mode.nBpp == 32 ? 0xFFFFFFu : 0xFFFFFFFFu;
    for (const EFFECTCASE& c : kEffectCases) {
        SCOPED_TRACE(c.name);
        cStageChara& chara = MakeChara(200, 200);
        StartEffect(chara, c.kind, c.params);
        const cImage screen = DrawOn(chara, m_Backdrop);
        for (const EFFECTPROBE& probe : c.probes) {
            EXPECT_EQ(screen.At(probe.x, probe.y) & mask, display.colours.at(probe.colour))
                << "at (" << probe.x << ", " << probe.y << "), expected " << probe.colour;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, CharaDrawEffectPixels, testing::ValuesIn(kEffectPixels),
                         [](const testing::TestParamInfo<EFFECTPIXELS>& info) {
                             return std::string(info.param.mode.bDirect3D ? "Direct3D" : "DirectDraw") +
                                    std::to_string(info.param.mode.nBpp);
                         });

}  // namespace
