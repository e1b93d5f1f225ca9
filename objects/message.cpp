#include "objects/message.h"

#include <cstdint>
#include <cstdio>

#include "data/save_data.h"
#include "flow/status_values.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/standard_surfaces.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/surface.h"
#include "objects/chara.h"
#include "objects/chara_lookup.h"
#include "objects/image_source.h"
#include "platform/os/messages.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/shared_flags.h"

namespace {

constexpr int kMessageFont = 1;
constexpr int kIconSize = 16;
constexpr int kIconFrames = 30;
constexpr int kGrowFrames = 10;

// The number text of an escape: the digits of |value| (at least `width` of them), leading
// zeros shown as spaces unless `zeros`, then the sign. The magnitude is taken in 64 bits so
// that INT_MIN shows its digits.
std::string MessageNumberText(int value, int width, bool plus, bool zeros)
{
    const long long magnitude = (value < 0) ? -static_cast<long long>(value) : value;
    char digits[16];
    int count = std::snprintf(digits, sizeof digits, "%lld", magnitude);
    if (width >= count) count = width;
    std::string text(static_cast<std::size_t>(count), '0');
    long long rest = magnitude;
    for (int i = count - 1; i >= 0 && rest != 0; --i, rest /= 10) text[static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
    if (!zeros)
        for (std::size_t i = 0; i + 1 < text.size() && text[i] == '0'; ++i) text[i] = ' ';
    if (value < 0) return "-" + text;
    if (plus) return "+" + text;
    return text;
}

bool IsMessageDigit(char c) { return c >= '0' && c <= '9'; }

// Screen pixels of a stage coordinate: the scroll position truncated to whole pixels.
int ScrollPixels(const cScrollAxis& axis) { return TruncToInt(axis.m_dPos); }

}  // namespace

cMessage::cMessage(const MESSAGESETUP& setup) { Init(setup, 0); }

void cMessage::Init(const MESSAGESETUP& setup, int reuseSurface)
{
    m_nKind = setup.nKind;
    if (setup.lpText) m_strText = m_strTemplate = setup.lpText;
    m_nIconKind = setup.nIconKind;
    m_nIconIndex = setup.nIconIndex;
    m_nIconFrame = setup.nIconFrame;
    m_nPosMode = setup.nPosMode;
    m_nCellX = setup.nCellX;
    m_nCellY = setup.nCellY;
    m_nOffsetX = setup.nOffsetX;
    m_nOffsetY = setup.nOffsetY;
    m_bClamp = setup.bClamp;
    m_bFixed = setup.bFixed;
    m_nDisplayMode = setup.nDisplayMode;
    m_nFramesLeft = setup.nFrames;
    m_bTimerWhilePaused = setup.bTimerWhilePaused;
    m_nCharaSerial = setup.nCharaSerial;
    m_bExpand = setup.bExpand;
    m_bRefresh = setup.bRefresh;
    m_nRefreshInterval = setup.nRefreshInterval;
    m_bWindow = setup.bWindow;
    m_bHasId = setup.bHasId;
    m_nId = setup.nId;
    m_bLatched = 0;
    m_dGrow = 0;

    if (m_bExpand) ExpandMessageVariables(m_strText);
    if (m_nKind == kMessageText) {
        MeasureMessageText(&m_nWidth, &m_nHeight, m_strText.c_str());
    } else if (m_nKind == kMessageItem || m_nKind == kMessageExtraLife) {
        m_nWidth = m_nHeight = kIconSize;
    }
    m_bGrowIn = (m_nDisplayMode == 0 && setup.bNoGrowIn == 0) ? 1 : 0;

    if (m_nKind == kMessageText) {
        if (!reuseSurface) CreateSurface();
        RenderText(m_lpSurface);
    } else {
        m_lpSurface = nullptr;
        m_lpSurfaceInfo = nullptr;
    }
}

void cMessage::CreateSurface()
{
    int memType = 0;
    if (g_lpDD) {
        // Little video memory left: the text goes to system memory.
        DDSCAPS2 caps{};
        caps.dwCaps = DDSCAPS_VIDEOMEMORY;
        DWORD total = 0, free = 0;
        if (SUCCEEDED(g_lpDD->GetAvailableVidMem(&caps, &total, &free)) && total != 0 &&
            static_cast<std::uint64_t>(free) * 100 / total < 20)
            memType = 1;
    }
    m_lpSurface = nullptr;
    m_lpSurfaceInfo = nullptr;
    if (!DDAddSurfaceList(&Off_Msg, &Off_MsgInfo, m_nWidth, m_nHeight, TRUE, memType, 0, nullptr)) {
        // The record the list took for it holds nothing: it goes too.
        if (!Off_Msg.empty()) DDRemoveSurface(&Off_Msg, &Off_MsgInfo, &Off_Msg.back());
        PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        return;
    }
    m_lpSurface = &Off_Msg.back();
    m_lpSurfaceInfo = &Off_MsgInfo.back();
}

void cMessage::RenderText(DDSURFACEDATA* surface)
{
    if (!surface) return;
    cFont& font = g_Font[kMessageFont];
    if (m_bWindow) {
        font.DrawTextWindow(surface, 1, 1, 0, 0, m_strText.c_str(), 0);
        return;
    }
    DDFillRectPal(surface, 0, 0, surface->nWidth, surface->nHeight, 0);
    font.DrawText(surface, 1, 1, m_strText.c_str(), FALSE);
}

void cMessage::RemoveSurface()
{
    if (m_lpSurface) DDRemoveSurface(&Off_Msg, &Off_MsgInfo, m_lpSurface);
    m_lpSurface = nullptr;
    m_lpSurfaceInfo = nullptr;
}

void cMessage::Refresh()
{
    const cPlayScene* scene = Scene();
    if (!scene || !m_bRefresh || m_nRefreshInterval == 0 || !m_bExpand) return;
    if (WrapMod(scene->m_nFrame, m_nRefreshInterval) != 0) return;
    std::string text = m_strTemplate;
    ExpandMessageVariables(text);
    if (text == m_strText) return;
    m_strText = text;
    int width = 0, height = 0;
    MeasureMessageText(&width, &height, m_strText.c_str());
    if (width != m_nWidth || height != m_nHeight) {
        m_nWidth = width;
        m_nHeight = height;
        RemoveSurface();
        CreateSurface();
    }
    RenderText(m_lpSurface);
}

bool cMessage::Locate(int& x, int& y)
{
    const cPlayScene* scene = Scene();
    const int sx = scene ? ScrollPixels(scene->m_ScrollX) : 0;
    const int sy = scene ? ScrollPixels(scene->m_ScrollY) : 0;
    x = y = 0;
    switch (m_nPosMode) {
    case 0:
        x = WrapAdd(WrapSub(m_nOffsetX, m_nWidth >> 1), 320);
        y = WrapAdd(WrapSub(m_nOffsetY, m_nHeight >> 1), 240);
        break;
    case 1: case 2: case 3: case 4: case 5: case 6: {
        const cChara* chara = FindCharaBySerial(m_nCharaSerial);
        if (!chara) return false;
        const int left = TruncToInt(chara->m_dX - sx);
        const int top = TruncToInt(chara->m_dY - sy);
        x = WrapAdd(WrapSub(WrapSub(WrapAdd(left, chara->m_nDrawWidth >> 1), m_nWidth >> 1), chara->m_nDrawOffsetX),
                    m_nOffsetX);
        const int drawnTop = WrapSub(top, chara->m_nDrawOffsetY);
        if (m_nPosMode == 1 || m_nPosMode == 4)
            y = WrapAdd(WrapSub(drawnTop, m_nHeight), m_nOffsetY);
        else if (m_nPosMode == 2 || m_nPosMode == 5)
            y = WrapAdd(WrapAdd(WrapAdd(drawnTop, chara->m_nDrawHeight), m_nOffsetY), 1);
        else
            y = WrapAdd(WrapSub(WrapAdd(drawnTop, chara->m_nDrawHeight >> 1), m_nHeight >> 1), m_nOffsetY);
        break;
    }
    case 7:
        x = WrapAdd(WrapMul(m_nCellX, 32), m_nOffsetX);
        y = WrapAdd(WrapMul(m_nCellY, 32), m_nOffsetY);
        break;
    case 8: {
        const int originX = scene ? scene->m_ScrollX.m_nMargin : 0;
        const int originY = scene ? scene->m_ScrollY.m_nMargin : 0;
        const double scrollX = scene ? scene->m_ScrollX.m_dPos : 0.0;
        const double scrollY = scene ? scene->m_ScrollY.m_dPos : 0.0;
        x = TruncToInt(WrapAdd(WrapMul(WrapAdd(m_nCellX, originX), 32), m_nOffsetX) - scrollX);
        y = TruncToInt(WrapAdd(WrapMul(WrapAdd(m_nCellY, originY), 32), m_nOffsetY) - scrollY);
        break;
    }
    default: break;  // an unknown mode shows at the top-left corner
    }

    const bool followsOrBlocks = (m_nPosMode >= 1 && m_nPosMode <= 6) || m_nPosMode == 8;
    const bool onScreen = m_nPosMode == 0 || m_nPosMode == 7;
    if (followsOrBlocks && m_bFixed) {
        // Stays on the screen where it appeared.
        if (!m_bLatched) {
            m_bLatched = 1;
            m_nLatchedX = x;
            m_nLatchedY = y;
        }
        x = m_nLatchedX;
        y = m_nLatchedY;
    } else if (onScreen && !m_bFixed) {
        // Moves with the stage from where it appeared.
        if (!m_bLatched) {
            m_bLatched = 1;
            m_nLatchedX = WrapAdd(x, sx);
            m_nLatchedY = WrapAdd(y, sy);
        }
        x = WrapSub(m_nLatchedX, sx);
        y = WrapSub(m_nLatchedY, sy);
    }

    if (m_bClamp) {
        if (x < 0) x = 0;
        else if (WrapAdd(x, m_nWidth) >= 639) x = WrapSub(640, m_nWidth);
        if (y < 20) y = 20;
        else if (WrapAdd(y, m_nHeight) >= 479) y = WrapSub(480, m_nHeight);
    }
    return true;
}

void cMessage::DrawTextBox(DDSURFACEDATA* target, int x, int y)
{
    // A message whose surface could not be made shows nothing.
    if (!m_lpSurface) return;
    if (m_lpSurface->bLost) {
        RenderText(m_lpSurface);
        m_lpSurface->bLost = FALSE;
    }
    if (m_strText.empty()) return;
    if (m_bGrowIn) {
        // The window opens from its centre over ten frames, the text shown once it is whole.
        m_dGrow += 1;
        const double s = m_dGrow * 0.1;
        if (m_dGrow < kGrowFrames) {
            const int halfW = m_nWidth >> 1, halfH = m_nHeight >> 1;
            g_Font[kMessageFont].DrawWindow(target, TruncToInt(WrapAdd(x, halfW) - s * halfW),
                                            TruncToInt(WrapAdd(y, halfH) - s * halfH), TruncToInt(s * m_nWidth),
                                            TruncToInt(s * m_nHeight));
            return;
        }
    }
    DDBltFast(target, x, y, m_lpSurface->nWidth, m_lpSurface->nHeight, m_lpSurface, 0, 0, 1);
}

int cMessage::Update(DDSURFACEDATA* target, int paused)
{
    bool ended = false;
    if (m_nDisplayMode == 2 && (!paused || m_bTimerWhilePaused)) {
        m_nFramesLeft = WrapSub(m_nFramesLeft, 1);
        ended = m_nFramesLeft < 0;
    }
    int x = 0, y = 0;
    if (!ended) {
        if (m_nKind == kMessageText) Refresh();
        // Whatever follows a chara that has gone ends with it.
        ended = !Locate(x, y);
    }
    if (ended) {
        if (m_nKind == kMessageText) RemoveSurface();
        return 1;
    }

    const int rise = WrapSub(kIconFrames, m_nFramesLeft) >> 2;
    switch (m_nKind) {
    case kMessageText: DrawTextBox(target, x, y); break;
    case kMessageItem:
        cImageSource::SetSimple(target, x, WrapSub(y, rise), m_nIconKind, m_nIconIndex, m_nIconFrame);
        break;
    case kMessageExtraLife:
        DDBltFast(target, x, WrapSub(y, rise), kIconSize, kIconSize, &g_StdSurface[kAccessoryPicture], 0, 48, 1);
        break;
    default: break;
    }
    return 0;
}

void AddMessageToList(std::list<cMessage>& list, const cMessage& message) { list.push_back(message); }

void ExpandMessageVariables(std::string& text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsDbcsPair(text.c_str() + i)) {
            i += 2;
            continue;
        }
        if (text[i] != '#') {
            ++i;
            continue;
        }
        int number = 0, width = -1;
        bool digits = false, common = false, stage = false, options = false, plus = false, zeros = false;
        std::size_t end = i + 1;
        for (; end < text.size(); ++end) {
            const char c = text[end];
            if (!options) {
                if (IsMessageDigit(c)) {
                    number = WrapAdd(WrapMul(number, 10), c - '0');
                    digits = true;
                } else if (c == 'C' || c == 'c') common = true;
                else if (c == 'S' || c == 's') stage = true;
                else if (c == '_') options = true;
                else break;
            } else {
                if (IsMessageDigit(c)) width = c - '0';
                else if (c == 'P' || c == 'p') plus = true;
                else if (c == 'Z' || c == 'z') zeros = true;
                else break;
            }
        }
        if (end < text.size() && text[end] == '.') ++end;

        const int* field = nullptr;
        if (digits && number > 0 && number < 256) {
            // The same variables, by the same checked access, as the expressions' C<n> and S<n>.
            if (common) field = VariableField(0, number);
            else if (stage) field = VariableField(1, number);
        }
        if (!field) {
            i = end;
            continue;
        }
        const std::string number_text = MessageNumberText(*field, width, plus, zeros);
        text.replace(i, end - i, number_text);
        i += number_text.size();
    }
}

void MeasureMessageText(int* width, int* height, const char* text)
{
    cFont& font = g_Font[kMessageFont];
    SIZE size{};
    if (lpDTCon) {
        font.GetTextBlockSize(&size, text);
    } else {
        // Through the font's own device context: the widest line that has text, and a line
        // height for every line.
        IDirectDrawSurface7* work = font.m_WorkSD.lpDDraw ? font.m_WorkSD.lpDDraw->lpDDS : nullptr;
        HDC hdc = nullptr;
        if (work && font.m_hFont && SUCCEEDED(work->GetDC(&hdc))) {
            SelectObject(hdc, font.m_hFont);
            for (const char* line = text ? text : "";; ++line) {
                const int length = LineLength(line);
                SIZE extent{};
                if (GetTextExtentPoint32A(hdc, line, length, &extent)) {
                    if (length > 0 && extent.cx > size.cx) size.cx = extent.cx;
                    size.cy += extent.cy;
                }
                line += length;
                if (*line != '\n') break;
            }
            work->ReleaseDC(hdc);
        }
    }
    if (width) *width = WrapAdd(static_cast<int>(size.cx), 2);
    if (height) *height = WrapAdd(static_cast<int>(size.cy), 2);
}
