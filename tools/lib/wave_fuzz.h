#pragma once
// Entry points for a coverage-guided fuzzer (AFL++, libFuzzer) of the sound file readers:
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) { return FuzzWave(d, n); }
#include <cstddef>
#include <cstdint>

// The WAVE reader: a file that reads must have a format the reader promises and whole blocks
// inside the input; a refusal must say why. Every sample byte is looked at. Anything else
// aborts. Returns 0.
int FuzzWave(const std::uint8_t* data, std::size_t size);

// The Ogg decoder: opens the bytes and decodes them to the end twice (with a rewind between,
// as a looping song reads) within a bound on the output. Aborts when a refusal has no reason.
// Returns 0.
int FuzzOgg(const std::uint8_t* data, std::size_t size);
