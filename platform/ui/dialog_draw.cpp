// Drawing of the dialogs: into an image of their own, then over the game screen's last frame
// (never into the game's back buffer), or into a small window while the game window is hidden.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/os/text.h"
#include "platform/ui/dialog_internal.h"
#include "platform/ui/ime.h"
#include "platform/ui/sdl_window.h"
#include "platform/video/font_face.h"
#include "platform/video/presenter.h"

namespace plat {
namespace {

constexpr std::uint32_t kFace = 0xFFF0F0F0;
constexpr std::uint32_t kShadow = 0xFFA0A0A0;
constexpr std::uint32_t kText = 0xFF000000;
constexpr std::uint32_t kGreyText = 0xFF808080;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kHighlight = 0xFF3370CC;
constexpr std::uint32_t kCaption = 0xFF2A5599;

struct cImage {
    std::vector<std::uint32_t> argb;
    int nWidth = 0, nHeight = 0;
    POINT onScreen{0, 0};
};

// Window thread only.
cImage s_LastImage;
std::unique_ptr<cGlyphFace> s_lpFace;
std::string s_strFaceName;

struct cOwnWindow {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    HWND hDlg = nullptr;
};
std::map<HWND, cOwnWindow> s_Own;

cGlyphFace* Face(const DIALOGTEMPLATE& t)
{
    const std::string name = t.face ? t.face : "";
    if (!s_lpFace || s_strFaceName != name) {
        // Points at 96 dots per inch: 9 points are 12 pixels of em.
        s_lpFace = cGlyphFace::Open(name, -(t.points * 4 / 3), 0);
        s_strFaceName = name;
    }
    return s_lpFace.get();
}

int TextWidthOf(cGlyphFace* face, const std::string& text)
{
    return face ? face->TextWidth(text.c_str(), static_cast<int>(text.size())) : 0;
}

// Text broken into lines at its line breaks and where it no longer fits the width (between
// characters, as the static texts of Japanese dialogs break).
std::vector<std::string> WrapLines(cGlyphFace* face, const std::string& text, int width)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Cp932CharLength(text, i);
        if (text[i] == '\r') {
            i += n;
            continue;
        }
        if (text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            i += n;
            continue;
        }
        const std::string next = line + text.substr(i, n);
        if (!line.empty() && TextWidthOf(face, next) > width) {
            lines.push_back(line);
            line = text.substr(i, n);
        } else {
            line = next;
        }
        i += n;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

class cCanvas {
public:
    cCanvas(int width, int height, cGlyphFace* face) : m_Store(width, height, D3DFMT_A8R8G8B8), m_lpFace(face) {}

    void Fill(int x0, int y0, int x1, int y1, std::uint32_t colour)
    {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, m_Store.nWidth);
        y1 = std::min(y1, m_Store.nHeight);
        if (x0 < x1 && y0 < y1) m_Store.Fill(x0, y0, x1, y1, colour);
    }
    void Frame(int x0, int y0, int x1, int y1, std::uint32_t colour, int thickness = 1)
    {
        Fill(x0, y0, x1, y0 + thickness, colour);
        Fill(x0, y1 - thickness, x1, y1, colour);
        Fill(x0, y0, x0 + thickness, y1, colour);
        Fill(x1 - thickness, y0, x1, y1, colour);
    }
    int TextWidth(const std::string& text) { return m_lpFace ? m_lpFace->TextWidth(text.c_str(), static_cast<int>(text.size())) : 0; }
    void Text(int x, int y, const std::string& text, std::uint32_t colour)
    {
        if (m_lpFace) m_lpFace->Paint(m_Store, x, y, text.c_str(), static_cast<int>(text.size()), colour);
    }
    void WrappedText(const RECT& r, const std::string& text, std::uint32_t colour)
    {
        int y = r.top;
        for (const std::string& line : WrapLines(m_lpFace, text, r.right - r.left)) {
            Text(r.left, y, line, colour);
            y += kDialogTextHeight + 1;
        }
    }
    std::vector<std::uint32_t> Pixels() const
    {
        std::vector<std::uint32_t> argb(static_cast<std::size_t>(m_Store.nWidth) * m_Store.nHeight);
        for (int y = 0; y < m_Store.nHeight; ++y)
            std::memcpy(argb.data() + static_cast<std::size_t>(y) * m_Store.nWidth, m_Store.Row(y),
                        static_cast<std::size_t>(m_Store.nWidth) * 4);
        return argb;
    }

private:
    cPixelStore m_Store;
    cGlyphFace* m_lpFace;
};

void Raised(cCanvas& c, const RECT& r)
{
    c.Fill(r.left, r.top, r.right, r.bottom, kFace);
    c.Fill(r.left, r.top, r.right, r.top + 1, kWhite);
    c.Fill(r.left, r.top, r.left + 1, r.bottom, kWhite);
    c.Fill(r.left, r.bottom - 1, r.right, r.bottom, kShadow);
    c.Fill(r.right - 1, r.top, r.right, r.bottom, kShadow);
}

int MiddleY(const RECT& r) { return r.top + (r.bottom - r.top - kDialogTextHeight) / 2; }

void DrawEdit(cCanvas& c, const cDlgControl& e, const RECT& r, bool focused)
{
    c.Fill(r.left, r.top, r.right, r.bottom, e.bEnabled ? kWhite : kFace);
    c.Frame(r.left, r.top, r.right, r.bottom, kShadow);
    const int y = MiddleY(r);
    const int from = std::min(e.nSelStart, e.nSelEnd), to = std::max(e.nSelStart, e.nSelEnd);
    const std::string before = e.text.substr(0, static_cast<std::size_t>(from));
    const std::string selected = e.text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    const std::string after = e.text.substr(static_cast<std::size_t>(to));
    int x = r.left + 3;
    c.Text(x, y, before, kText);
    x += c.TextWidth(before);
    const int selectedWidth = c.TextWidth(selected);
    if (focused && !selected.empty()) {
        c.Fill(x, y, x + selectedWidth, y + kDialogTextHeight, kHighlight);
        c.Text(x, y, selected, kWhite);
    } else {
        c.Text(x, y, selected, kText);
    }
    int caretX = r.left + 3 + c.TextWidth(e.text.substr(0, static_cast<std::size_t>(e.nSelEnd)));
    c.Text(x + selectedWidth, y, after, kText);
    if (!focused) return;
    // The open composition shows at the caret, underlined, until it is committed.
    const std::string& composition = CompositionCp932();
    if (!composition.empty()) {
        const int w = c.TextWidth(composition);
        c.Fill(caretX, y, caretX + w, y + kDialogTextHeight, kWhite);
        c.Text(caretX, y, composition, kText);
        c.Fill(caretX, y + kDialogTextHeight, caretX + w, y + kDialogTextHeight + 1, kText);
        caretX += w;
    }
    c.Fill(caretX, y - 1, caretX + 1, y + kDialogTextHeight + 1, kText);
}

void DrawControl(cCanvas& c, const cDlgControl& k, POINT origin, bool focused)
{
    const RECT r{k.rc.left + origin.x, k.rc.top + origin.y, k.rc.right + origin.x, k.rc.bottom + origin.y};
    const std::uint32_t text = k.bEnabled ? kText : kGreyText;
    switch (k.kind) {
    case eDialogItem::Static:
        c.WrappedText(r, k.text, text);
        break;
    case eDialogItem::Bitmap:
        break;
    case eDialogItem::GroupBox: {
        const int mid = r.top + kDialogTextHeight / 2;
        c.Frame(r.left, mid, r.right, r.bottom, kShadow);
        const int w = c.TextWidth(k.text);
        c.Fill(r.left + 6, r.top, r.left + 10 + w, r.top + kDialogTextHeight, kFace);
        c.Text(r.left + 8, r.top, k.text, text);
        break;
    }
    case eDialogItem::Edit:
        DrawEdit(c, k, r, focused);
        break;
    case eDialogItem::Button:
    case eDialogItem::DefButton: {
        Raised(c, r);
        // The default button has the dark frame that Enter presses.
        if (k.kind == eDialogItem::DefButton) c.Frame(r.left, r.top, r.right, r.bottom, kText, 2);
        const int w = c.TextWidth(k.text);
        c.Text(r.left + (r.right - r.left - w) / 2, MiddleY(r), k.text, text);
        if (focused) c.Frame(r.left + 4, r.top + 4, r.right - 4, r.bottom - 4, kShadow);
        break;
    }
    case eDialogItem::AutoRadio:
    case eDialogItem::AutoCheckBox: {
        const int box = 11, y = MiddleY(r);
        c.Fill(r.left, y, r.left + box, y + box, kWhite);
        c.Frame(r.left, y, r.left + box, y + box, kShadow);
        if (k.nCheck) c.Fill(r.left + 3, y + 3, r.left + box - 3, y + box - 3, kText);
        c.Text(r.left + box + 4, y, k.text, text);
        if (focused) c.Frame(r.left + box + 2, y - 1, r.left + box + 6 + c.TextWidth(k.text), y + kDialogTextHeight + 1, kShadow);
        break;
    }
    case eDialogItem::ListBox: {
        c.Fill(r.left, r.top, r.right, r.bottom, kWhite);
        c.Frame(r.left, r.top, r.right, r.bottom, focused ? kText : kShadow);
        const int rows = std::max(1, (r.bottom - r.top - 4) / kListRowHeight);
        const int first = std::clamp(k.nCurSel - rows + 1, 0, std::max(0, static_cast<int>(k.items.size()) - rows));
        for (int i = 0; i < rows && first + i < static_cast<int>(k.items.size()); ++i) {
            const int y = r.top + 2 + i * kListRowHeight;
            const bool selected = first + i == k.nCurSel;
            if (selected) c.Fill(r.left + 2, y, r.right - 2, y + kListRowHeight, kHighlight);
            c.Text(r.left + 4, y + 1, k.items[static_cast<std::size_t>(first + i)], selected ? kWhite : kText);
        }
        break;
    }
    }
}

// The client area's place in the dialog's own image (its frame and caption before it).
POINT ClientInImage(const cDlgWindow& dlg)
{
    RECT outer{};
    GetWindowRect(dlg.hWnd, &outer);
    POINT client{0, 0};
    ClientToScreen(dlg.hWnd, &client);
    return POINT{client.x - outer.left, client.y - outer.top};
}

cImage Render(const cDlgWindow& dlg)
{
    RECT outer{};
    GetWindowRect(dlg.hWnd, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    cCanvas c(width, height, Face(*dlg.lpTemplate));
    c.Fill(0, 0, width, height, kFace);
    c.Frame(0, 0, width, height, kShadow);
    const POINT origin = ClientInImage(dlg);
    if (origin.y > 2) {
        c.Fill(2, 2, width - 2, origin.y - 1, kCaption);
        c.Text(6, (origin.y - kDialogTextHeight) / 2, WindowTitle(dlg.hWnd), kWhite);
    }
    for (const auto& k : dlg.controls) DrawControl(c, *k, origin, k->hWnd == dlg.hFocus);
    cImage image;
    image.argb = c.Pixels();
    image.nWidth = width;
    image.nHeight = height;
    const POINT clientOnScreen = DialogClientOnScreen(dlg);
    image.onScreen = POINT{clientOnScreen.x - origin.x, clientOnScreen.y - origin.y};
    return image;
}

bool MainWindowShown()
{
    SDL_Window* window = MainSdlWindow();
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) != 0;
}

void PresentOwnWindow(const cDlgWindow& dlg, const cImage& image)
{
    cOwnWindow& own = s_Own[dlg.hWnd];
    if (!own.window) {
        own.window = SDL_CreateWindow(Cp932ToUtf8(WindowTitle(dlg.hWnd)).c_str(), SDL_WINDOWPOS_CENTERED,
                                      SDL_WINDOWPOS_CENTERED, image.nWidth, image.nHeight, 0);
        if (!own.window) return;
        own.renderer = SDL_CreateRenderer(own.window, -1, SDL_RENDERER_SOFTWARE);
        if (own.renderer)
            own.texture = SDL_CreateTexture(own.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                            image.nWidth, image.nHeight);
        SDL_RaiseWindow(own.window);
    }
    if (!own.renderer || !own.texture) return;
    SDL_UpdateTexture(own.texture, nullptr, image.argb.data(), image.nWidth * 4);
    SDL_RenderClear(own.renderer);
    SDL_RenderCopy(own.renderer, own.texture, nullptr, nullptr);
    SDL_RenderPresent(own.renderer);
}

void Paste(cFrame& frame, const cImage& image)
{
    for (int y = 0; y < image.nHeight; ++y) {
        const int fy = image.onScreen.y + y;
        if (fy < 0 || fy >= frame.nHeight) continue;
        for (int x = 0; x < image.nWidth; ++x) {
            const int fx = image.onScreen.x + x;
            if (fx < 0 || fx >= frame.nWidth) continue;
            frame.argb[static_cast<std::size_t>(fy) * frame.nWidth + fx] = image.argb[static_cast<std::size_t>(y) * image.nWidth + x];
        }
    }
}

}  // namespace

int WrappedTextHeight(const DIALOGTEMPLATE& t, const std::string& text, int width)
{
    return static_cast<int>(WrapLines(Face(t), text, width).size()) * (kDialogTextHeight + 1);
}

POINT DialogClientOnScreen(const cDlgWindow& dlg)
{
    POINT p{0, 0};
    ClientToScreen(dlg.hWnd, &p);
    HWND main = MainWindowHandle();
    if (main && !IsPresentFullScreen()) {
        POINT mainOrigin{0, 0};
        ClientToScreen(main, &mainOrigin);
        p.x -= mainOrigin.x;
        p.y -= mainOrigin.y;
    }
    return p;
}

POINT CaretOnScreen(const cDlgWindow& dlg, const cDlgControl& edit)
{
    const POINT origin = DialogClientOnScreen(dlg);
    int x = edit.rc.left + 3;
    if (const DIALOGTEMPLATE* t = dlg.lpTemplate)
        if (cGlyphFace* face = Face(*t)) x += face->TextWidth(edit.text.c_str(), edit.nSelEnd);
    return POINT{origin.x + x, origin.y + edit.rc.top};
}

void DrawDialog(cDlgWindow& dlg)
{
    dlg.nFrameDrawnOver = LastFrameGeneration();
    cImage image = Render(dlg);
    if (!IsHeadless() && MainSdlWindow()) {
        if (MainWindowShown()) {
            // Over the game's last frame, every open dialog in the order they opened (a box
            // over the dialog that asked for it).
            cFrame frame = LastFrame();
            if (frame.argb.empty()) {
                frame.nWidth = 640;
                frame.nHeight = 480;
                frame.argb.assign(640u * 480u, 0xFF000000);
            }
            for (HWND hOpen : OpenDialogs())
                if (cDlgWindow* open = FindDialog(hOpen); open && open != &dlg) Paste(frame, Render(*open));
            Paste(frame, image);
            PresentOverFrame(frame);
        } else {
            PresentOwnWindow(dlg, image);
        }
    }
    s_LastImage = std::move(image);
}

void CloseDialogOutput(cDlgWindow& dlg)
{
    auto own = s_Own.find(dlg.hWnd);
    if (own != s_Own.end()) {
        if (own->second.texture) SDL_DestroyTexture(own->second.texture);
        if (own->second.renderer) SDL_DestroyRenderer(own->second.renderer);
        if (own->second.window) SDL_DestroyWindow(own->second.window);
        s_Own.erase(own);
    }
    // The game screen shows its own frame again.
    if (!IsHeadless() && MainWindowShown()) ShowLastFrameAgain();
}

POINT ClickToClient(const cDlgWindow& dlg, POINT at)
{
    if (s_Own.count(dlg.hWnd)) {
        const POINT client = ClientInImage(dlg);
        return POINT{at.x - client.x, at.y - client.y};
    }
    const POINT origin = DialogClientOnScreen(dlg);
    return POINT{at.x - origin.x, at.y - origin.y};
}

bool LastDialogImage(std::vector<std::uint32_t>& argb, int& width, int& height, POINT& onScreen)
{
    if (s_LastImage.argb.empty()) return false;
    argb = s_LastImage.argb;
    width = s_LastImage.nWidth;
    height = s_LastImage.nHeight;
    onScreen = s_LastImage.onScreen;
    return true;
}

}  // namespace plat
