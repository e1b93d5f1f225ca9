#include "platform/video/presenter.h"

#include <SDL.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "platform/video/png_writer.h"
#include "platform/ui/sdl_window.h"
#include "platform/ui/window.h"

namespace plat {
namespace {

using FramePtr = std::shared_ptr<const cFrame>;

std::mutex s_FrameLock;
// The last frame is shared with the hand-off instead of copied: frames are never changed
// once made.
FramePtr s_LastFrame;
bool s_bVSync = false;
// The last frame's palette indices while it is an 8-bit frame (empty otherwise), so that a
// palette change made while a dialog shows over it still shows.
struct cIndexedFrame {
    int nWidth = 0, nHeight = 0;
    std::vector<BYTE> indices;
};
cIndexedFrame s_LastIndexed;
std::uint64_t s_nFrameGeneration = 0;
bool s_bFullScreen = false;

// What the window thread keeps between frames; touched only there.
struct cSdlOutput {
    SDL_Window* window = nullptr;
    Uint32 nWindowId = 0;                    // never reused, unlike the window's address
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int nTextureWidth = 0, nTextureHeight = 0;
    bool bVSync = false;
    std::shared_ptr<const cFrame> lpShown;   // the last frame handed to the window
};
cSdlOutput s_Output;

// Whether `window` is the one the output was made for: a window made after the old one was
// destroyed can have its address, and the old renderer and texture went with the old window.
bool IsOutputWindow(SDL_Window* window)
{
    return window && s_Output.window == window && s_Output.nWindowId == SDL_GetWindowID(window);
}

void ForgetOutput()
{
    if (s_Output.texture && IsOutputWindow(MainSdlWindow())) SDL_DestroyTexture(s_Output.texture);
    s_Output = cSdlOutput{};
}

// Window thread: the renderer of the current window, made on first use.
SDL_Renderer* Renderer(SDL_Window* window, bool vsync)
{
    if (!IsOutputWindow(window)) {
        s_Output = cSdlOutput{};
        s_Output.window = window;
        s_Output.nWindowId = SDL_GetWindowID(window);
    }
    if (!s_Output.renderer) {
        s_Output.renderer = SDL_GetRenderer(window);
        if (!s_Output.renderer) s_Output.renderer = SDL_CreateRenderer(window, -1, vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
        if (!s_Output.renderer) return nullptr;
        SDL_RenderSetVSync(s_Output.renderer, vsync ? 1 : 0);
        s_Output.bVSync = vsync;
    } else if (s_Output.bVSync != vsync) {
        SDL_RenderSetVSync(s_Output.renderer, vsync ? 1 : 0);
        s_Output.bVSync = vsync;
    }
    return s_Output.renderer;
}

void UploadAndPresent(const cFrame& frame, bool vsync)
{
    SDL_Window* window = MainSdlWindow();
    if (!window || frame.argb.empty()) return;
    SDL_Renderer* renderer = Renderer(window, vsync);
    if (!renderer) return;
    if (!s_Output.texture || s_Output.nTextureWidth != frame.nWidth || s_Output.nTextureHeight != frame.nHeight) {
        if (s_Output.texture) SDL_DestroyTexture(s_Output.texture);
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        s_Output.texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, frame.nWidth,
                                             frame.nHeight);
        s_Output.nTextureWidth = frame.nWidth;
        s_Output.nTextureHeight = frame.nHeight;
        if (!s_Output.texture) return;
        SDL_SetTextureBlendMode(s_Output.texture, SDL_BLENDMODE_NONE);
    }
    SDL_UpdateTexture(s_Output.texture, nullptr, frame.argb.data(), frame.nWidth * 4);
    SDL_RenderSetLogicalSize(renderer, frame.nWidth, frame.nHeight);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, s_Output.texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

// A frame the same as the one on show is not uploaded and presented again: an idle screen then
// costs next to nothing, which matters most where the display is drawn in software.
void PresentIfChanged(const FramePtr& frame, bool vsync)
{
    const FramePtr& shown = s_Output.lpShown;
    if (shown && IsOutputWindow(MainSdlWindow()) && shown->nWidth == frame->nWidth &&
        shown->nHeight == frame->nHeight && shown->argb == frame->argb)
        return;
    UploadAndPresent(*frame, vsync);
    s_Output.lpShown = frame;
}

void ApplyFullScreen(bool fullScreen)
{
    SDL_Window* window = MainSdlWindow();
    if (!window) return;
    SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
}

// The hand-over of frames to the window thread. A carrier thread of our own carries the
// call there, so that the drawing thread waits only for the frame to be taken, not for the
// upload and the present (which may wait for the vertical blank).
class cHandOff {
public:
    ~cHandOff()
    {
        {
            std::lock_guard lock(m_Lock);
            m_bStop = true;
        }
        m_Changed.notify_all();
        if (m_Carrier.joinable()) m_Carrier.join();
    }

    void Hand(FramePtr frame, bool vsync)
    {
        std::unique_lock lock(m_Lock);
        if (m_bStop) return;
        if (!m_Carrier.joinable()) m_Carrier = std::thread([this] { Carry(); });
        m_Pending = std::move(frame);
        m_bPendingVSync = vsync;
        m_bPending = true;
        const std::uint64_t ticket = ++m_nHanded;
        m_Changed.notify_all();
        m_Changed.wait(lock, [&] { return m_nTaken >= ticket || m_bStop; });
    }

private:
    void Carry()
    {
        std::unique_lock lock(m_Lock);
        for (;;) {
            m_Changed.wait(lock, [&] { return m_bPending || m_bStop; });
            if (m_bStop) return;
            lock.unlock();
            const bool ran = RunOnWindowThread([this] {
                FramePtr frame;
                bool vsync;
                {
                    std::lock_guard taking(m_Lock);
                    frame = std::move(m_Pending);
                    vsync = m_bPendingVSync;
                    m_bPending = false;
                    m_nTaken = m_nHanded;
                }
                m_Changed.notify_all();
                if (frame) PresentIfChanged(frame, vsync);
            });
            lock.lock();
            if (!ran) {
                // The window thread is gone or closing: the frame is dropped, never waited for.
                m_bPending = false;
                m_nTaken = m_nHanded;
                m_Changed.notify_all();
            }
        }
    }

    std::mutex m_Lock;
    std::condition_variable m_Changed;
    FramePtr m_Pending;
    bool m_bPendingVSync = false;
    bool m_bPending = false;
    bool m_bStop = false;
    std::uint64_t m_nHanded = 0, m_nTaken = 0;
    std::thread m_Carrier;
};

cHandOff s_HandOff;
int s_nCursorCount = 0;

}  // namespace

void PresentFrame(const BYTE* pixels, int width, int height, int pitch, D3DFORMAT format, const std::uint32_t* palette)
{
    if (!pixels || width <= 0 || height <= 0) return;
    auto made = std::make_shared<cFrame>();
    made->nWidth = width;
    made->nHeight = height;
    made->argb.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        ConvertRowToScreenArgb(format, pixels + static_cast<std::ptrdiff_t>(y) * pitch, width,
                               made->argb.data() + static_cast<std::size_t>(y) * width, palette);
    FramePtr frame = std::move(made);
    cIndexedFrame indexed;
    if (format == D3DFMT_P8) {
        indexed.nWidth = width;
        indexed.nHeight = height;
        indexed.indices.resize(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            std::copy_n(pixels + static_cast<std::ptrdiff_t>(y) * pitch, width,
                        indexed.indices.data() + static_cast<std::size_t>(y) * width);
    }
    bool vsync;
    {
        std::lock_guard lock(s_FrameLock);
        s_LastFrame = frame;
        s_LastIndexed = std::move(indexed);
        ++s_nFrameGeneration;
        // Under a virtual clock nothing waits on wall time, the display's vertical blank included.
        vsync = s_bVSync && !ClockIsVirtual();
    }
    // Headless: the kept frame is all there is (the dummy driver's window shows nothing).
    if (!MainSdlWindow() || IsHeadless()) return;
    if (IsWindowThread()) {
        PresentIfChanged(frame, vsync);
        return;
    }
    s_HandOff.Hand(std::move(frame), vsync);
}

}  // namespace plat

int ShowCursor(BOOL bShow)
{
    int count;
    {
        std::lock_guard lock(plat::s_FrameLock);
        count = plat::s_nCursorCount += bShow ? 1 : -1;
    }
    if (plat::MainSdlWindow())
        plat::RunOnWindowThread([count] { SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE); });
    return count;
}

namespace plat {

void SetPresentVSync(bool vsync)
{
    std::lock_guard lock(s_FrameLock);
    s_bVSync = vsync;
}

void SetPresentFullScreen(bool fullScreen)
{
    {
        std::lock_guard lock(s_FrameLock);
        if (s_bFullScreen == fullScreen) return;
        s_bFullScreen = fullScreen;
    }
    if (MainSdlWindow()) RunOnWindowThread([fullScreen] { ApplyFullScreen(fullScreen); });
}

bool IsPresentFullScreen()
{
    std::lock_guard lock(s_FrameLock);
    return s_bFullScreen;
}

namespace {

FramePtr LastFramePtr()
{
    std::lock_guard lock(s_FrameLock);
    return s_LastFrame;
}

}  // namespace

cFrame LastFrame()
{
    FramePtr frame = LastFramePtr();
    return frame ? *frame : cFrame{};
}

void ShowLastFrameAgain()
{
    FramePtr frame = LastFramePtr();
    if (!frame || !MainSdlWindow()) return;
    bool vsync;
    {
        std::lock_guard lock(s_FrameLock);
        vsync = s_bVSync;
    }
    // Shown even when it is the frame on show: the window's contents were lost.
    RunOnWindowThread([&frame, vsync] { UploadAndPresent(*frame, vsync); });
}

void RepaletteLastFrame(const std::uint32_t* palette)
{
    if (!palette) return;
    {
        std::lock_guard lock(s_FrameLock);
        if (s_LastIndexed.indices.empty()) return;
        auto made = std::make_shared<cFrame>();
        made->nWidth = s_LastIndexed.nWidth;
        made->nHeight = s_LastIndexed.nHeight;
        made->argb.resize(s_LastIndexed.indices.size());
        for (int y = 0; y < made->nHeight; ++y)
            ConvertRowToScreenArgb(D3DFMT_P8, s_LastIndexed.indices.data() + static_cast<std::size_t>(y) * made->nWidth,
                                   made->nWidth, made->argb.data() + static_cast<std::size_t>(y) * made->nWidth, palette);
        s_LastFrame = std::move(made);
        ++s_nFrameGeneration;
    }
    // Wakes the window thread, whose open dialog then draws over the new colours.
    if (HWND main = MainWindowHandle()) PostMessageA(main, WM_NULL, 0, 0);
}

std::uint64_t LastFrameGeneration()
{
    std::lock_guard lock(s_FrameLock);
    return s_nFrameGeneration;
}

void PresentOverFrame(const cFrame& frame)
{
    if (!MainSdlWindow() || IsHeadless() || !IsWindowThread()) return;
    bool vsync;
    {
        std::lock_guard lock(s_FrameLock);
        vsync = s_bVSync && !ClockIsVirtual();
    }
    UploadAndPresent(frame, vsync);
    s_Output.lpShown.reset();
}

bool SaveLastFrameAsPng(const char* path)
{
    FramePtr kept = LastFramePtr();
    if (!kept || kept->argb.empty()) return false;
    return WritePngFile(path, kept->nWidth, kept->nHeight, kept->argb.data());
}

std::uint64_t HashLastFrame()
{
    FramePtr kept = LastFramePtr();
    if (!kept || kept->argb.empty()) return 0;
    const cFrame& frame = *kept;
    std::uint64_t hash = 0xcbf29ce484222325ull;
    auto mix = [&hash](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (v >> (8 * i)) & 0xFF;
            hash *= 0x100000001b3ull;
        }
    };
    mix(static_cast<std::uint32_t>(frame.nWidth));
    mix(static_cast<std::uint32_t>(frame.nHeight));
    for (std::uint32_t p : frame.argb) mix(p);
    return hash;
}

void ResetPresenter()
{
    {
        std::lock_guard lock(s_FrameLock);
        s_LastFrame.reset();
        s_LastIndexed = cIndexedFrame{};
        ++s_nFrameGeneration;
        s_bFullScreen = false;
    }
    RunOnWindowThread([] { ForgetOutput(); });
}

}  // namespace plat
