#pragma once
// Entry point for a coverage-guided fuzzer (AFL++, libFuzzer) of the MIDI file reader:
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) { return FuzzMidi(d, n); }
#include <cstddef>
#include <cstdint>

// Converts the bytes; a refusal must say why, and an image must be a well-formed format-0 file
// whose events lie inside it and whose last event is the one end of track. Anything else aborts.
// Returns 0.
int FuzzMidi(const std::uint8_t* data, std::size_t size);
