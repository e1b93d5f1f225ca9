// The story slot list of the continue menu, drawn with the second font.
#include "data/save_data.h"
#include "graphics/fill.h"
#include "graphics/font.h"

namespace {

constexpr int kSlotRow = 16;
constexpr int kListWidth = 320;
constexpr DWORD kSeparatorColor = 240;

}  // namespace

void cSaveSlotInfo::DrawDate(DDSURFACEDATA* lpDst, int x, int y) const
{
    if (!m_bUsed) return;
    g_Font[1].Printf(lpDst, x, y, "%04d/%02d/%02d %02d:%02d\n", m_SaveTime.wYear, m_SaveTime.wMonth, m_SaveTime.wDay,
                     m_SaveTime.wHour, m_SaveTime.wMinute);
}

void DrawSaveSlotList(DDSURFACEDATA* lpDst, int x, int y, const cSafeVector<cSaveSlotInfo>& slots, int first, int rows)
{
    cFont& font = g_Font[1];
    font.DrawWindow(lpDst, x, y, kListWidth, kSlotRow * rows);
    for (int row = 0; row < rows; ++row) {
        const int top = y + kSlotRow * row;
        if (row + 1 < rows) DDFillRectPal(lpDst, x, top + kSlotRow - 1, kListWidth, 1, kSeparatorColor);
        const long long index = static_cast<long long>(first) + row;
        if (index < 0 || index >= static_cast<long long>(slots.size())) continue;
        font.Printf(lpDst, x + 16, top, "%d", static_cast<int>(index) + 1);
        slots[static_cast<std::size_t>(index)].DrawDate(lpDst, x + 64, top);
    }
}
