#include "app/file_dialogs.h"

#include <cstring>

#include "graphics/device.h"
#include "graphics/palette.h"
#include "shell/system_report.h"

namespace {

bool EightBitDirectDraw() { return lpDDCon && g_nBpp == 8 && g_lpDDPalette; }

// Entry 0 of the display palette black while the chooser is open.
class cBlackEntryZero {
public:
    explicit cBlackEntryZero(OPENFILENAMEA& ofn) : m_bOn(EightBitDirectDraw())
    {
        if (!m_bOn) return;
        if (IsWindowsVersionAtLeast(6, 0)) {
            ofn.Flags |= OFN_ENABLEHOOK;
            ofn.lpfnHook = FileDialogHookProc;
        }
        const PALETTEENTRY black{0, 0, 0, 0};
        g_lpDDPalette->SetEntries(0, 0, 1, &black);
    }
    ~cBlackEntryZero()
    {
        if (m_bOn && g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 1, &g_DisplayPalette[0]);
    }
    cBlackEntryZero(const cBlackEntryZero&) = delete;
    cBlackEntryZero& operator=(const cBlackEntryZero&) = delete;

private:
    bool m_bOn;
};

}  // namespace

INT_PTR FileDialogHookProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

void AppendChosenFiles(const char* buffer, std::size_t size, cSafeVector<std::string>& results)
{
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < size && buffer[at];) {
        const std::size_t length = strnlen(buffer + at, size - at);
        parts.emplace_back(buffer + at, length);
        at += length + 1;
    }
    if (parts.empty()) return;
    if (parts.size() == 1) {
        results.push_back(parts.front());
        return;
    }
    for (std::size_t i = 1; i < parts.size(); ++i) results.push_back(parts.front() + "\\" + parts[i]);
}

namespace {

OPENFILENAMEA FileDialogRecord(HWND owner, char* buffer, DWORD size, const char* initialDir, const char* title,
                               const char* filter, const char* defExt, DWORD flags)
{
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = size;
    ofn.nMaxFileTitle = MAX_PATH;
    ofn.lpstrInitialDir = initialDir;
    ofn.lpstrTitle = title;
    ofn.Flags = flags;
    ofn.lpstrDefExt = defExt;
    return ofn;
}

}  // namespace

bool OpenFileDialog(HWND owner, char* buffer, int size, const char* initialDir, const char* title, const char* filter,
                    const char* defExt, int multiSelect, cSafeVector<std::string>* results)
{
    if (!buffer || size <= 0) return false;
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    DWORD flags = OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (multiSelect) flags |= OFN_ALLOWMULTISELECT;
    OPENFILENAMEA ofn = FileDialogRecord(owner, buffer, static_cast<DWORD>(size), initialDir, title, filter, defExt, flags);
    BOOL chosen;
    {
        cBlackEntryZero black(ofn);
        chosen = GetOpenFileNameA(&ofn);
    }
    if (!chosen) return false;
    if (results) AppendChosenFiles(buffer, static_cast<std::size_t>(size), *results);
    return true;
}

bool SaveFileDialog(HWND owner, char* buffer, const char* initialDir, const char* title, const char* filter,
                    const char* defExt, int keepName)
{
    if (!buffer) return false;
    if (!keepName) std::memset(buffer, 0, MAX_PATH);
    OPENFILENAMEA ofn = FileDialogRecord(owner, buffer, MAX_PATH, initialDir, title, filter, defExt,
                                         OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT |
                                             OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    cBlackEntryZero black(ofn);
    return GetSaveFileNameA(&ofn) != FALSE;
}

bool OpenFileRequestDialog(HWND owner, char path[MAX_PATH], const char* folder, const char* title,
                           const char* filterLabel, const char* pattern)
{
    const std::string extensions = pattern ? pattern : "";
    std::string patterns;
    for (std::size_t start = 0; start <= extensions.size();) {
        std::size_t end = extensions.find(';', start);
        if (end == std::string::npos) end = extensions.size();
        if (end > start) patterns += (patterns.empty() ? "*." : ";*.") + extensions.substr(start, end - start);
        start = end + 1;
    }
    std::string filter = filterLabel ? filterLabel : "";
    filter += '\0';
    filter += patterns;
    filter += '\0';
    filter += '\0';
    return OpenFileDialog(owner, path, MAX_PATH, folder, title, filter.c_str(), pattern, 0, nullptr);
}
