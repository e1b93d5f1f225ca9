#pragma once
// Entry point for a coverage-guided fuzzer (AFL++, libFuzzer) of the stage reader:
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) { return FuzzStage(d, n); }
#include <cstddef>
#include <cstdint>

// Reads the bytes as a stage file, as the game does; a stage that reads must write an image
// that reads back and writes the same image again, and keep its scroll limits inside it;
// anything else aborts. Returns 0.
int FuzzStage(const std::uint8_t* data, std::size_t size);
