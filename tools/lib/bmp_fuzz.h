#pragma once
// Entry point for a coverage-guided fuzzer (AFL++, libFuzzer) of the bitmap reader:
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) { return FuzzBmp(d, n); }
#include <cstddef>
#include <cstdint>

// A file that reads must give a size within the limits, one pixel per place (and one index
// per place of a palette bitmap) and a reason for every refusal; anything else aborts. Every
// pixel read is looked at, so that a sanitizer sees any read of memory it should not. 0.
int FuzzBmp(const std::uint8_t* data, std::size_t size);
