// Replaces the global operator new and delete of the data tests with ones that note the
// largest request made on a thread while a probe is armed there.
#include "tests/data/allocation_probe.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool t_bArmed = false;
thread_local std::size_t t_nLargest = 0;

void* Allocate(std::size_t size)
{
    if (t_bArmed && size > t_nLargest) t_nLargest = size;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}

}  // namespace

// Every form that the deletes below free, the nothrow ones too (std::stable_sort's buffer).
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (t_bArmed && size > t_nLargest) t_nLargest = size;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace qbtest {

cAllocationProbe::cAllocationProbe()
{
    t_bArmed = true;
    t_nLargest = 0;
}

cAllocationProbe::~cAllocationProbe()
{
    t_bArmed = false;
}

std::size_t cAllocationProbe::Largest() const
{
    return t_nLargest;
}

}  // namespace qbtest
