#pragma once
// The process and the machine it runs on: facts for the system report, and the end of the
// process that skips every destructor.
#include <cstdint>
#include <string>

namespace plat {

struct KERNELFACTS {
    std::string strName;      // "Linux"
    std::string strRelease;   // "6.1.0-18-amd64"
    int nBuild = 0;           // the "#n" at the start of the kernel's version text
};

struct MEMORYFACTS {
    std::uint64_t qwTotal = 0;          // physical memory
    std::uint64_t qwFree = 0;
    std::uint64_t qwAddressSpace = 0;   // what the process may map
    std::uint64_t qwAddressFree = 0;    // of that, what is not mapped yet
};

// False when the kernel does not say.
bool GetKernelFacts(KERNELFACTS& facts);
// Fields the system does not give stay 0.
void GetMemoryFacts(MEMORYFACTS& facts);
// Bytes free to this user on the file system of the working folder; 0 when unknown.
std::uint64_t GetWorkingDiskFree();
// The processor's vendor and brand texts (empty where the processor does not name itself).
void GetCpuNames(std::string& vendor, std::string& brand);
// The clock the system states for the first processor, in Hz; 0 when it states none.
double GetCpuClockHz();

// Ends the process at once with an exit code: no destructor, no atexit handler, no flush of
// C streams (flush them first).
[[noreturn]] void EndProcessNow(int code);

}  // namespace plat
