#pragma once
// Watches what the program asks operator new for on this thread while a probe lives: the
// largest request, the total of all requests, and the most memory held at once.
#include <cstddef>

namespace qbtest {

class cAllocationProbe {
public:
    cAllocationProbe();
    ~cAllocationProbe();
    cAllocationProbe(const cAllocationProbe&) = delete;
    cAllocationProbe& operator=(const cAllocationProbe&) = delete;

    // The largest single request since the probe began.
    std::size_t Largest() const;
    // The bytes of every request since the probe began, freed or not.
    std::size_t Total() const;
    // The most bytes of requests since the probe began that were held at once.
    std::size_t Peak() const;
};

// What reading a file of fileSize bytes may take in all: eight times its size beyond a fixed
// base (the class tables a first read builds, the record read into, messages).
constexpr std::size_t kReadMemoryBase = 64 * 1024;
constexpr std::size_t ReadMemoryLimit(std::size_t fileSize)
{
    return 8 * fileSize + kReadMemoryBase;
}

}  // namespace qbtest
