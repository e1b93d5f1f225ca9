#pragma once
// Entry point for a coverage-guided fuzzer (AFL++, libFuzzer) of the file readers:
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) { return FuzzDataFile(d, n); }
#include <cstddef>
#include <cstdint>

// The first byte picks the kind (modulo the number of kinds), the rest is the file image.
// A file that reads must write an image that reads back and writes the same image again;
// anything else aborts. Sets the data version and the CR switch as start-up does. Returns 0.
int FuzzDataFile(const std::uint8_t* data, std::size_t size);

// The same for a file of one kind (a name of the kinds table); the whole input is the image.
int FuzzDataFileOfKind(const char* kind, const std::uint8_t* data, std::size_t size);
