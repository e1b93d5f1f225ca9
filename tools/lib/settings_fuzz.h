#pragma once
// Entry points for a coverage-guided fuzzer (AFL++, libFuzzer) of the two settings files that
// are not record files, "System.ini" and "user_data\KeyConfig.dat":
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) { return FuzzSystemIni(d, n); }
// Each writes the bytes to a file in a private temporary folder and reads it as start-up does.
#include <cstddef>
#include <cstdint>

// Reads the bytes as "System.ini" with the default key list; a FreeStage that is not a
// terminated text of at most 259 bytes aborts. Returns 0.
int FuzzSystemIni(const std::uint8_t* data, std::size_t size);

// Reads the bytes as the key configuration over the defaults and polls one frame through it;
// counts outside the table after the read abort. Returns 0.
int FuzzKeyConfig(const std::uint8_t* data, std::size_t size);
