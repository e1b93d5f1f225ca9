#pragma once
// The system and display description written to the report file at start-up. On Linux the
// system values come from uname, cpuid, /proc/cpuinfo (or sysfs), sysinfo and statvfs; the
// display values belong to the graphics layer, which registers a provider for them.
#include <cstdint>
#include <string>

#include "platform/os/windows_types.h"

// The values of the system report, gathered apart from their formatting.
struct SYSTEMREPORT {
    std::string strOS;           // GetOSName's text
    std::string strCpuVendor;    // 12 characters from cpuid leaf 0
    std::string strCpuBrand;     // at most 48 characters from the extended cpuid leaves
    double dCpuClockHz = 0.0;
    std::uint64_t qwMemTotal = 0;   // bytes
    std::uint64_t qwMemFree = 0;
    std::uint64_t qwVirTotal = 0;   // the process's address space
    std::uint64_t qwVirFree = 0;
    std::uint64_t qwDiskFree = 0;   // free to this user on the working folder's file system
};

SYSTEMREPORT CollectSystemReport();
// The report lines, "OS : ..." to "HD Free : ...", each ending in "\n"; the free disk space
// is capped at 2147483647 bytes.
std::string FormatSystemReport(const SYSTEMREPORT& report);
// Appends the system report to the report file; false when it cannot be opened.
bool WriteSystemReport();

// The graphics layer's values for the display report.
struct DISPLAYREPORT {
    bool bFullScreen = false;
    int nBpp = 0;
    // DirectDraw object: video memory and refresh rate.
    bool bDirectDraw = false;
    DWORD dwVramTotal = 0;   // bytes
    DWORD dwVramFree = 0;
    DWORD dwRefreshRate = 0;
    // Direct3D device: what its software device can tell of itself.
    bool bDirect3D = false;
    DWORD dwTextureMem = 0;   // bytes
    std::string strDevice;    // the device's description (in place of the chip type)
    int nMaxTextureWidth = 0;
    int nMaxTextureHeight = 0;
    int nMaxTextureBlendStages = 0;
    int nMaxSimultaneousTextures = 0;
    bool bAlphaFullscreenFlipOrDiscard = false;
    bool bTexturePow2 = false;
    bool bTextureSquareOnly = false;
    bool bDynamicTextures = false;
};

// Fills the values; false when the graphics layer has nothing to tell (not initialised).
using DisplayReportProvider = bool (*)(DISPLAYREPORT& report);
void SetDisplayReportProvider(DisplayReportProvider provider);

std::string FormatDisplayReport(const DISPLAYREPORT& report);
// Appends the display report; false when the report file cannot be opened. The detailed
// capability dump has nothing to read on Linux, so detailed adds nothing.
bool WriteDisplayReport(int detailed);

// The operating system: "%s %s PID %d Build %d" with the system's name, its release, the
// platform id 2 and the kernel's build number. The version is that of a modern system (10.0),
// which is what every version test of the program asks for. Any out may be null.
void GetOSName(std::string* text, int* major, int* minor);
bool IsWindowsVersionAtLeast(int major, int minor);

// Video memory in MB from the DirectDraw object; 0 and 0 without one. Either out may be null.
void GetVideoMemoryMB(DWORD* total, DWORD* free);
// The display driver's DDI version; Linux has none to read, which counts as no number: 99999.
int GetDDIVersion();
