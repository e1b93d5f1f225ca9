// Replaces the global operator new and delete of the data tests with ones that count what is
// asked for on a thread while a probe is armed there.
#include "tests/data/allocation_probe.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size and the probe that counted it, in a header that keeps the
// block's alignment.
struct BLOCKHEADER {
    std::size_t size;
    std::size_t probe;  // 0 when no probe counted it
};
static_assert(sizeof(BLOCKHEADER) == alignof(std::max_align_t));

thread_local std::size_t t_nProbe = 0;     // the armed probe, 0 when none
std::atomic<std::size_t> g_nProbes{0};     // probes ever armed, so each has a number of its own
thread_local std::size_t t_nLargest = 0;
thread_local std::size_t t_nTotal = 0;
thread_local std::size_t t_nHeld = 0;
thread_local std::size_t t_nPeak = 0;

void* Allocate(std::size_t size) noexcept
{
    auto* header = static_cast<BLOCKHEADER*>(std::malloc(sizeof(BLOCKHEADER) + size));
    if (!header) return nullptr;
    *header = BLOCKHEADER{size, t_nProbe};
    if (t_nProbe) {
        if (size > t_nLargest) t_nLargest = size;
        t_nTotal += size;
        t_nHeld += size;
        if (t_nHeld > t_nPeak) t_nPeak = t_nHeld;
    }
    return header + 1;
}

void* AllocateOrThrow(std::size_t size)
{
    if (void* memory = Allocate(size)) return memory;
    throw std::bad_alloc();
}

void Release(void* memory) noexcept
{
    if (!memory) return;
    BLOCKHEADER* header = static_cast<BLOCKHEADER*>(memory) - 1;
    if (header->probe && header->probe == t_nProbe) t_nHeld -= header->size;
    std::free(header);
}

}  // namespace

// Every form that the deletes below free, the nothrow ones too (std::stable_sort's buffer).
void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* memory) noexcept { Release(memory); }
void operator delete[](void* memory) noexcept { Release(memory); }
void operator delete(void* memory, std::size_t) noexcept { Release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { Release(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { Release(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { Release(memory); }

namespace qbtest {

cAllocationProbe::cAllocationProbe()
{
    t_nProbe = ++g_nProbes;
    t_nLargest = 0;
    t_nTotal = 0;
    t_nHeld = 0;
    t_nPeak = 0;
}

cAllocationProbe::~cAllocationProbe()
{
    t_nProbe = 0;
}

std::size_t cAllocationProbe::Largest() const
{
    return t_nLargest;
}

std::size_t cAllocationProbe::Total() const
{
    return t_nTotal;
}

std::size_t cAllocationProbe::Peak() const
{
    return t_nPeak;
}

}  // namespace qbtest
