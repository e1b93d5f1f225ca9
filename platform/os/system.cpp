#include "platform/os/system.h"

#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace plat {

bool GetKernelFacts(KERNELFACTS& facts)
{
    struct utsname name {};
    if (uname(&name) != 0) return false;
    facts.strName = name.sysname;
    facts.strRelease = name.release;
    const char* hash = std::strchr(name.version, '#');
    facts.nBuild = hash ? std::atoi(hash + 1) : 0;
    return true;
}

void GetMemoryFacts(MEMORYFACTS& facts)
{
    struct sysinfo info {};
    if (sysinfo(&info) == 0) {
        facts.qwTotal = std::uint64_t(info.totalram) * info.mem_unit;
        facts.qwFree = std::uint64_t(info.freeram) * info.mem_unit;
    }
    std::uint64_t addressSpace = sizeof(void*) == 8 ? (std::uint64_t(1) << 47) : (std::uint64_t(3) << 30);
    struct rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < addressSpace)
        addressSpace = limit.rlim_cur;
    std::uint64_t mappedPages = 0;
    std::ifstream("/proc/self/statm") >> mappedPages;
    const std::uint64_t mapped = mappedPages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    facts.qwAddressSpace = addressSpace;
    facts.qwAddressFree = mapped < addressSpace ? addressSpace - mapped : 0;
}

std::uint64_t GetWorkingDiskFree()
{
    struct statvfs fs {};
    if (statvfs(".", &fs) != 0) return 0;
    return std::uint64_t(fs.f_bavail) * fs.f_frsize;
}

void GetCpuNames(std::string& vendor, std::string& brand)
{
    vendor.clear();
    brand.clear();
#if defined(__i386__) || defined(__x86_64__)
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid_max(0, nullptr) == 0) return;
    __cpuid(0, eax, ebx, ecx, edx);
    char name[13] = {};
    std::memcpy(name, &ebx, 4);
    std::memcpy(name + 4, &edx, 4);
    std::memcpy(name + 8, &ecx, 4);
    vendor = name;
    if (__get_cpuid_max(0x80000000, nullptr) < 0x80000004) return;
    char text[49] = {};
    for (unsigned int i = 0; i < 3; ++i) {
        __cpuid(0x80000002 + i, eax, ebx, ecx, edx);
        const unsigned int regs[4] = {eax, ebx, ecx, edx};
        std::memcpy(text + 16 * i, regs, 16);
    }
    brand = text;
#endif
}

double GetCpuClockHz()
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

void EndProcessNow(int code)
{
    _exit(code);
}

}  // namespace plat
