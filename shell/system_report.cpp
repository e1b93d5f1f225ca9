#include "shell/system_report.h"

#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include "shell/format.h"
#include "shell/log.h"

namespace {

constexpr int kPlatformNt = 2;
constexpr int kModernMajor = 10;
constexpr int kModernMinor = 0;
constexpr double kBytesToMB = 1.0 / 1048576.0;
constexpr std::uint64_t kDiskFreeCap = 2147483647;

std::atomic<DisplayReportProvider> g_DisplayProvider{nullptr};

void ReadCpuId(SYSTEMREPORT& report)
{
#if defined(__i386__) || defined(__x86_64__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid_max(0, nullptr) == 0) return;
    __cpuid(0, eax, ebx, ecx, edx);
    char vendor[13] = {};
    std::memcpy(vendor, &ebx, 4);
    std::memcpy(vendor + 4, &edx, 4);
    std::memcpy(vendor + 8, &ecx, 4);
    report.strCpuVendor = vendor;
    if (__get_cpuid_max(0x80000000, nullptr) < 0x80000004) return;
    char brand[49] = {};
    for (unsigned int i = 0; i < 3; ++i) {
        __cpuid(0x80000002 + i, eax, ebx, ecx, edx);
        const unsigned int regs[4] = {eax, ebx, ecx, edx};
        std::memcpy(brand + 16 * i, regs, 16);
    }
    report.strCpuBrand = brand;
#else
    (void)report;
#endif
}

// The clock the system states for the first processor, in place of timing a busy second.
double ReadCpuClockHz()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("cpu MHz", 0) != 0) continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) break;
        const double mhz = std::strtod(line.c_str() + colon + 1, nullptr);
        if (mhz > 0) return mhz * 1e6;
        break;
    }
    std::ifstream maxFreq("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    double khz = 0;
    if (maxFreq >> khz && khz > 0) return khz * 1e3;
    return 0.0;
}

void ReadMemory(SYSTEMREPORT& report)
{
    struct sysinfo info {};
    if (sysinfo(&info) == 0) {
        report.qwMemTotal = std::uint64_t(info.totalram) * info.mem_unit;
        report.qwMemFree = std::uint64_t(info.freeram) * info.mem_unit;
    }
    // The address space the process may use, and what of it is not yet mapped.
    std::uint64_t addressSpace = sizeof(void*) == 8 ? (std::uint64_t(1) << 47) : (std::uint64_t(3) << 30);
    struct rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < addressSpace)
        addressSpace = limit.rlim_cur;
    std::uint64_t mappedPages = 0;
    std::ifstream("/proc/self/statm") >> mappedPages;
    const std::uint64_t mapped = mappedPages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    report.qwVirTotal = addressSpace;
    report.qwVirFree = mapped < addressSpace ? addressSpace - mapped : 0;
}

std::uint64_t ReadDiskFree()
{
    struct statvfs fs {};
    if (statvfs(".", &fs) != 0) return 0;
    return std::uint64_t(fs.f_bavail) * fs.f_frsize;
}

double ToMB(std::uint64_t bytes) { return static_cast<double>(bytes) * kBytesToMB; }

DISPLAYREPORT ReadDisplay()
{
    DISPLAYREPORT report;
    if (const DisplayReportProvider provider = g_DisplayProvider.load()) {
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
    struct utsname name {};
    if (uname(&name) != 0) {
        FormatString(*text, "%s %s PID %d Build %d", "", "", kPlatformNt, 0);
        return;
    }
    // The kernel's build number is the "#n" at the start of its version text.
    const char* hash = std::strchr(name.version, '#');
    const int build = hash ? std::atoi(hash + 1) : 0;
    FormatString(*text, "%s %s PID %d Build %d", name.sysname, name.release, kPlatformNt, build);
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
    ReadCpuId(report);
    report.dCpuClockHz = ReadCpuClockHz();
    ReadMemory(report);
    report.qwDiskFree = ReadDiskFree();
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

void SetDisplayReportProvider(DisplayReportProvider provider) { g_DisplayProvider.store(provider); }

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
