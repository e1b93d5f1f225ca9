// The ranking window and the stage-result window, drawn with the second font.
#include <algorithm>

#include "data/ranking_data.h"
#include "data/system_data.h"
#include "graphics/blit.h"
#include "graphics/font.h"
#include "graphics/standard_surfaces.h"
#include "shell/format.h"
#include "shell/system_ini.h"

namespace {

constexpr int kRankingRow = 16;
constexpr int kLabelText = 5;   // System texts 5 to 9 label the five kinds
constexpr int kChangeKindText = 24;
constexpr int kMarkerX = 16;
constexpr int kMarkerY = 48;
constexpr int kClearTimeDigits = 8;

cFont& RankingFont()
{
    return g_Font[1];
}

const std::string& SystemText(int index)
{
    return g_SystemData.m_Texts.At(index);
}

// Draws text with the letters a-z from the typeface: while the System data draws letters from
// its letter picture, the font's switch is off for the draw.
void PrintPlainLetters(DDSURFACEDATA* lpDst, int x, int y, const char* format, const char* text)
{
    cFont& font = RankingFont();
    const bool letterImages = g_SystemData.m_bUseLetterImages != 0;
    if (letterImages) font.m_bLetterImages = FALSE;
    font.Printf(lpDst, x, y, format, text);
    if (letterImages) font.m_bLetterImages = TRUE;
}

void DrawMarker(DDSURFACEDATA* lpDst, int x, int y)
{
    DDBltFast(lpDst, x, y, kRankingRow, kRankingRow, &g_StdSurface[kStatusPicture], kMarkerX, kMarkerY, 1);
}

void PrintValue(DDSURFACEDATA* lpDst, int x, int y, int kind, int value)
{
    if (kind == RANKING_CLEAR_TIME) {
        std::string time;
        FormatTime(time, value);
        RankingFont().Printf(lpDst, x, y, "%s", time.c_str());
    } else {
        RankingFont().Printf(lpDst, x, y, "%d", value);
    }
}

}  // namespace

void cRankingTable::Draw(DDSURFACEDATA* lpDst, int x, int y, int kind, int markedPlace, int playMode)
{
    cFont& font = RankingFont();
    kind = std::clamp(kind, 0, RANKING_KINDS - 1);
    font.DrawWindow(lpDst, x + 1, y + 1, 270, 350);
    const std::string& label = SystemText(kLabelText + kind);
    if (g_SystemIni.English) PrintPlainLetters(lpDst, x, y, "Ranking     %s", label.c_str());
    else font.Printf(lpDst, x, y, "ランキング    %s", label.c_str());

    const int digits = m_Entries.empty() ? 1 : CountDigits(m_Entries[0].m_nValue);
    for (std::size_t place = 0; place < m_Entries.size(); ++place) {
        const cRankingEntry& entry = m_Entries[place];
        if (!entry.m_bUsed) continue;
        const int row = y + kRankingRow * (static_cast<int>(place) + 1);
        font.Printf(lpDst, x + 16, row, "%d", static_cast<int>(place) + 1);
        PrintPlainLetters(lpDst, x + 64, row, "%s", entry.m_strName.c_str());
        // The numbers end at one column.
        const int valueX = kind == RANKING_CLEAR_TIME ? x + 144 : x + kRankingRow * (digits - CountDigits(entry.m_nValue) + 9);
        PrintValue(lpDst, valueX, row, kind, entry.m_nValue);
    }
    if (g_SystemData.CountModeFlags(playMode) > 1) {
        const std::string& hint = SystemText(kChangeKindText);
        font.Printf(lpDst, x + 136 - 8 * static_cast<int>(hint.size()),
                    y + kRankingRow + kRankingRow * static_cast<int>(m_Entries.size()), "%s", hint.c_str());
    }
    if (markedPlace != -1) DrawMarker(lpDst, x, y + kRankingRow * (markedPlace + 1));
}

void cRankingData::Draw(DDSURFACEDATA* lpDst, int x, int y, int kind, int markedPlace, int playMode)
{
    Table(kind).Draw(lpDst, x, y, kind, markedPlace, playMode);
}

void DrawResultPanel(DDSURFACEDATA* lpDst, int x, int y, const int places[RANKING_KINDS], const int values[RANKING_KINDS],
                     const bool shown[RANKING_KINDS])
{
    int rows = 0;
    int labelWidth = 1;
    int numberWidth = 1;
    for (int kind = 0; kind < RANKING_KINDS; ++kind) {
        if (!shown[kind]) continue;
        ++rows;
        labelWidth = std::max(labelWidth, static_cast<int>(SystemText(kLabelText + kind).size()));
        numberWidth = std::max(numberWidth, kind == RANKING_CLEAR_TIME ? kClearTimeDigits : CountDigits(values[kind]));
    }
    if (rows == 0) return;
    RankingFont().DrawWindow(lpDst, x, y, (numberWidth + labelWidth + 3) * kRankingRow, kRankingRow * rows);
    int row = y;
    for (int kind = 0; kind < RANKING_KINDS; ++kind) {
        if (!shown[kind]) continue;
        RankingFont().Printf(lpDst, x + 16, row, "%s", SystemText(kLabelText + kind).c_str());
        PrintValue(lpDst, x + kRankingRow * labelWidth + 32, row, kind, values[kind]);
        if (places[kind] != -1) DrawMarker(lpDst, x, row);
        row += kRankingRow;
    }
}
