#include "data/window_data.h"

#include <algorithm>

#include "platform/ui/window.h"

cWindowData g_WindowData;

namespace {

// The client size of a maximised window: the desktop's work area less a caption.
SIZE FullScreenClientSize()
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return SIZE{std::max<LONG>(0, work.right - work.left),
                std::max<LONG>(0, work.bottom - work.top - GetSystemMetrics(SM_CYCAPTION))};
}

}  // namespace

void cWindowData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nX, 1, "nX");
    AddField4(&m_nY, 1, "nY");
    AddField4(&m_nWidth, 1, "nWidth");
    AddField4(&m_nHeight, 1, "nHeight");
    AddField4(&m_bMaximized, 1, "bMaximized");
}

void cWindowData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    // A hand-edited or foreign file must not put the window, or a size, off the desktop.
    const SIZE limit = FullScreenClientSize();
    m_nX = std::clamp<int>(m_nX, 0, limit.cx);
    m_nY = std::clamp<int>(m_nY, 0, limit.cy);
    m_nWidth = std::clamp<int>(m_nWidth, 0, limit.cx);
    m_nHeight = std::clamp<int>(m_nHeight, 0, limit.cy);
}

void cWindowData::Set(int x, int y, int width, int height, int maximized)
{
    m_nX = x;
    m_nY = y;
    m_nWidth = width;
    m_nHeight = height;
    m_bMaximized = maximized;
}
