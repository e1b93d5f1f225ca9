#pragma once
// The runtime's random numbers: the classic linear congruential generator, one state per
// thread starting at 1, so that replays give the same numbers on every machine.
// platform/random.cpp defines rand and srand as the C library declares them, so these replace
// the C library's for the whole program: call them as declared by <cstdlib>.
#include <cstdlib>

namespace plat {

// The generator state of the calling thread, for tools that report the draws an action made.
unsigned int RandomState();

}  // namespace plat
