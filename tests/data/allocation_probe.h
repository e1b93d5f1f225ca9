#pragma once
// Watches the sizes the program asks operator new for on this thread, while a probe lives.
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
};

}  // namespace qbtest
