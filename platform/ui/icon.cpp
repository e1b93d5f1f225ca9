#include "platform/ui/icon.h"

#include <SDL.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/os/files.h"
#include "platform/ui/sdl_window.h"
#include "platform/ui/window.h"

namespace {

struct ICONPICTURE {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

std::mutex s_IconMutex;
ICONPICTURE s_Picture;
std::set<HICON> s_LiveIcons;
std::uintptr_t s_nNextIcon = 0x1C0;
std::map<std::pair<HWND, WPARAM>, HICON> s_WindowIcons;

std::string OwnFile()
{
    char native[4096];
    const ssize_t n = readlink("/proc/self/exe", native, sizeof native - 1);
    if (n <= 0) return {};
    native[n] = '\0';
    std::string program;
    return plat::ToProgramPath(native, program) ? program : std::string();
}

}  // namespace

DWORD GetModuleFileNameA(HINSTANCE, char* fileName, DWORD size)
{
    const std::string file = OwnFile();
    if (file.empty() || !fileName || file.size() >= size) return 0;
    std::memcpy(fileName, file.c_str(), file.size() + 1);
    return static_cast<DWORD>(file.size());
}

HICON ExtractIconA(HINSTANCE, const char* file, UINT index)
{
    if (!file || index != 0 || OwnFile() != file) return nullptr;
    std::lock_guard<std::mutex> lock(s_IconMutex);
    if (!s_Picture.pixels) return nullptr;
    HICON icon = reinterpret_cast<HICON>(s_nNextIcon++);
    s_LiveIcons.insert(icon);
    return icon;
}

BOOL DestroyIcon(HICON icon)
{
    std::lock_guard<std::mutex> lock(s_IconMutex);
    if (!icon || s_LiveIcons.erase(icon) == 0) return FALSE;
    for (auto it = s_WindowIcons.begin(); it != s_WindowIcons.end();)
        it = it->second == icon ? s_WindowIcons.erase(it) : std::next(it);
    return TRUE;
}

namespace plat {

void SetProgramIconPicture(const std::uint32_t* pixels, int width, int height)
{
    std::lock_guard<std::mutex> lock(s_IconMutex);
    s_Picture = ICONPICTURE{pixels, width, height};
}

LRESULT ShowWindowIcon(HWND hWnd, WPARAM which, HICON icon)
{
    ICONPICTURE picture;
    HICON previous = nullptr;
    {
        std::lock_guard<std::mutex> lock(s_IconMutex);
        if (icon && !s_LiveIcons.count(icon)) return 0;
        HICON& current = s_WindowIcons[{hWnd, which}];
        previous = current;
        current = icon;
        picture = s_Picture;
    }
    // A desktop shows one picture for both sizes; an icon of null leaves the picture shown.
    if (icon && picture.pixels && hWnd == MainWindowHandle() && MainSdlWindow()) {
        RunOnWindowThread([&picture] {
            SDL_Window* window = MainSdlWindow();
            if (!window) return;
            SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
                const_cast<std::uint32_t*>(picture.pixels), picture.width, picture.height, 32, picture.width * 4,
                SDL_PIXELFORMAT_ARGB8888);
            if (!surface) return;
            SDL_SetWindowIcon(window, surface);
            SDL_FreeSurface(surface);
        });
    }
    return reinterpret_cast<LRESULT>(previous);
}

HICON WindowIcon(HWND hWnd, WPARAM which)
{
    std::lock_guard<std::mutex> lock(s_IconMutex);
    auto found = s_WindowIcons.find({hWnd, which});
    return found == s_WindowIcons.end() ? nullptr : found->second;
}

int LiveIcons()
{
    std::lock_guard<std::mutex> lock(s_IconMutex);
    return static_cast<int>(s_LiveIcons.size());
}

}  // namespace plat
