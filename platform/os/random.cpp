// The runtime's rand and srand, which take the C library's place at link time.
#include "platform/os/random.h"

#include <cstdint>

namespace {

thread_local std::uint32_t t_nSeed = 1;

}  // namespace

extern "C" int rand() noexcept
{
    t_nSeed = t_nSeed * 214013u + 2531011u;
    return static_cast<int>((t_nSeed >> 16) & 32767u);
}

extern "C" void srand(unsigned int seed) noexcept
{
    t_nSeed = seed;
}

unsigned int plat::RandomState()
{
    return t_nSeed;
}
