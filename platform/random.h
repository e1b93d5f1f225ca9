#pragma once
// The runtime's random numbers: the classic linear congruential generator, one state per
// thread starting at 1, so that replays give the same numbers on every machine.
// These replace the C library's rand and srand for the whole program.

int rand();
void srand(unsigned int seed);
