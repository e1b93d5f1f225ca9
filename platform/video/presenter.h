#pragma once
// Presentation of finished frames. The drawing thread hands its back buffer over, converted
// to ARGB, and waits only until the window thread has taken it; the window thread then
// uploads it into an SDL streaming texture of the main window and presents it (on the
// vertical blank when asked), while the drawing thread goes on. Without an SDL window
// (headless) a null presenter keeps the frame. The last frame is always kept, so that a test
// or the harness can save it as PNG or hash it.
#include <cstdint>
#include <vector>
#include "platform/video/pixel_format.h"

// The cursor's display count over the main window: shown while it is 0 or more. Returns the
// new count.
int ShowCursor(BOOL bShow);

namespace plat {

struct cFrame {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> argb;  // top-down, alpha 255
};

// Hands over a frame of any surface format (palette: 256 entries of 0x00RRGGBB, for 8-bit
// frames). Returns once the window thread has taken the frame, before it is presented.
void PresentFrame(const BYTE* pixels, int width, int height, int pitch, D3DFORMAT format,
                  const std::uint32_t* palette = nullptr);

// Whether SDL presents on the vertical blank (frames are paced by the runtime all the same).
void SetPresentVSync(bool vsync);
// Full screen: SDL desktop full screen with the frame scaled to the screen at a 640×480
// logical size (the cursor hidden); off: the window as it is. Runs on the window thread.
void SetPresentFullScreen(bool fullScreen);
bool IsPresentFullScreen();

// The last frame handed over (empty before the first).
cFrame LastFrame();
// Shows the last frame handed over again (the window was uncovered): the window thread
// repaints from it and never from a surface that a drawing thread may be drawing into.
void ShowLastFrameAgain();
// The display palette changed: a last frame of palette indices takes the new colours (an open
// dialog draws over it again); other frames stay as they are.
void RepaletteLastFrame(const std::uint32_t* palette);
// Counts the changes of the last frame (a new frame, new colours).
std::uint64_t LastFrameGeneration();
// Window thread: shows a frame made from the last one with something drawn over it (an open
// dialog). The last frame stays as it was; the next frame handed over replaces what is shown.
void PresentOverFrame(const cFrame& frame);
// Saves it as PNG (program path); false when there is none or the file cannot be written.
bool SaveLastFrameAsPng(const char* path);
// 64-bit FNV-1a of width, height and the ARGB pixels; 0 when there is no frame.
std::uint64_t HashLastFrame();
// Forgets the last frame and drops the SDL texture (the window went away; tests).
void ResetPresenter();

}  // namespace plat
