#pragma once
// Reading a window of the X server back, for the tests that run under xvfb-run.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <vector>

namespace qbtest {

// A window not mapped yet, or made again by the renderer, cannot be read: the caller tries
// again instead of the program ending.
inline int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// The window's pixels as 0x00RRGGBB, top-down; empty when it cannot be read.
inline std::vector<std::uint32_t> ReadXWindow(Display* display, Window window, int width, int height)
{
    std::vector<std::uint32_t> rgb;
    XImage* image = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) return rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) rgb.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
    XDestroyImage(image);
    return rgb;
}

}  // namespace qbtest
