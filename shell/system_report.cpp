#include "shell/system_report.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "platform/os/system.h"
#include "shell/format.h"
#include "shell/log.h"

namespace {

constexpr int kPlatformNt = 2;
constexpr int kModernMajor = 10;
constexpr int kModernMinor = 0;
constexpr double kBytesToMB = 1.0 / 1048576.0;
constexpr std::uint64_t kDiskFreeCap = 2147483647;

std::atomic<DisplayReportProvider> s_DisplayProvider{nullptr};

double ToMB(std::uint64_t bytes) { return static_cast<double>(bytes) * kBytesToMB; }

DISPLAYREPORT ReadDisplay()
{
    DISPLAYREPORT report;
    if (const DisplayReportProvider provider = s_DisplayProvider.load()) {
        if (!provider(report)) report = DISPLAYREPORT();
    }
    return report;
}

}  // namespace

void GetOSName(std::string* text, int* major, int* minor)
{
    if (major) *major = kModernMajor;
    if (minor) *minor = kModernMinor;
    if (!text) return;
    plat::KERNELFACTS kernel;
    plat::GetKernelFacts(kernel);
    FormatString(*text, "%s %s PID %d Build %d", kernel.strName.c_str(), kernel.strRelease.c_str(), kPlatformNt,
                 kernel.nBuild);
}

bool IsWindowsVersionAtLeast(int major, int minor)
{
    int actualMajor = 0, actualMinor = 0;
    GetOSName(nullptr, &actualMajor, &actualMinor);
    return actualMajor > major || (actualMajor == major && actualMinor >= minor);
}

SYSTEMREPORT CollectSystemReport()
{
    SYSTEMREPORT report;
    GetOSName(&report.strOS, nullptr, nullptr);
    plat::GetCpuNames(report.strCpuVendor, report.strCpuBrand);
    report.dCpuClockHz = plat::GetCpuClockHz();
    plat::MEMORYFACTS memory;
    plat::GetMemoryFacts(memory);
    report.qwMemTotal = memory.qwTotal;
    report.qwMemFree = memory.qwFree;
    report.qwVirTotal = memory.qwAddressSpace;
    report.qwVirFree = memory.qwAddressFree;
    report.qwDiskFree = plat::GetWorkingDiskFree();
    return report;
}

std::string FormatSystemReport(const SYSTEMREPORT& report)
{
    std::string text;
    AppendFormatString(text, "OS : %s\n", report.strOS.c_str());
    AppendFormatString(text, "CPU : %s %s %d\n", report.strCpuVendor.c_str(), report.strCpuBrand.c_str(),
                       static_cast<int>(report.dCpuClockHz * 0.000001));
    AppendFormatString(text, "Mem Total : %.3fMB\n", ToMB(report.qwMemTotal));
    AppendFormatString(text, "Mem Free : %3.fMB\n", ToMB(report.qwMemFree));
    AppendFormatString(text, "Vir Total : %.3fMB\n", ToMB(report.qwVirTotal));
    AppendFormatString(text, "Vir Free : %3.fMB\n", ToMB(report.qwVirFree));
    AppendFormatString(text, "HD Free : %3.fMB\n", ToMB(std::min(report.qwDiskFree, kDiskFreeCap)));
    return text;
}

bool WriteSystemReport() { return ReportAppendRaw(FormatSystemReport(CollectSystemReport())); }

void SetDisplayReportProvider(DisplayReportProvider provider) { s_DisplayProvider.store(provider); }

std::string FormatDisplayReport(const DISPLAYREPORT& report)
{
    std::string text = report.bFullScreen ? "Mode : Fullscreen\n" : "Mode : Window\n";
    AppendFormatString(text, "Bpp : %d\n", report.nBpp);
    if (report.bDirectDraw) {
        AppendFormatString(text, "VRAM Total : %.3fMB\n", ToMB(report.dwVramTotal));
        AppendFormatString(text, "VRAM Free : %.3fMB\n", ToMB(report.dwVramFree));
        AppendFormatString(text, "RR : %u\n", report.dwRefreshRate);
    }
    if (report.bDirect3D) {
        AppendFormatString(text, "TextureMem : %dMB\n", static_cast<int>(report.dwTextureMem >> 20));
        AppendFormatString(text, "---デバイス%d\n", 0);
        AppendFormatString(text, "Destination : %s\n", report.strDevice.c_str());
        AppendFormatString(text, "TextureMaxSize : (%d,%d)\n", report.nMaxTextureWidth, report.nMaxTextureHeight);
        AppendFormatString(text, "TextureMaxBlend : (%d,%d)\n", report.nMaxTextureBlendStages,
                           report.nMaxSimultaneousTextures);
        if (report.bAlphaFullscreenFlipOrDiscard) text += "D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD\n";
        if (report.bTexturePow2) text += "D3DPTEXTURECAPS_POW2\n";
        if (report.bTextureSquareOnly) text += "D3DPTEXTURECAPS_SQUAREONLY\n";
        if (report.bDynamicTextures) text += "D3DCAPS2_DYNAMICTEXTURES\n";
    }
    return text;
}

bool WriteDisplayReport(int detailed)
{
    (void)detailed;
    return ReportAppendRaw(FormatDisplayReport(ReadDisplay()));
}

void GetVideoMemoryMB(DWORD* total, DWORD* free)
{
    const DISPLAYREPORT report = ReadDisplay();
    if (total) *total = report.bDirectDraw ? report.dwVramTotal >> 20 : 0;
    if (free) *free = report.bDirectDraw ? report.dwVramFree >> 20 : 0;
}

int GetDDIVersion() { return 99999; }
