#pragma once
// Our reader of RIFF/WAVE files: PCM, 8-bit unsigned or 16-bit signed, mono or stereo, at any
// rate from 1,000 to 192,000 Hz. Chunks it does not need (LIST, fact, cue ...) and the pad
// byte after an odd-sized chunk are skipped; the format chunk is read bounded (at most the
// 18 bytes of the format record); sample data that runs past the end of the file is cut to
// what is there. Anything else is refused with a reason.
#include <cstdint>
#include <string>
#include <vector>
#include "platform/os/windows_types.h"

// The PCM format record of a WAVE file.
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};

constexpr WORD WAVE_FORMAT_PCM = 1;

namespace plat {

struct cWaveData {
    WAVEFORMATEX format{};
    std::vector<BYTE> samples;  // whole blocks only
};

constexpr DWORD kWaveMinRate = 1000;
constexpr DWORD kWaveMaxRate = 192000;

// Files beyond this are refused before they are read.
constexpr std::size_t kWaveMaxFileBytes = std::size_t{256} << 20;

bool ReadWave(const BYTE* data, std::size_t size, cWaveData& wave, std::string* error = nullptr);
// Reads a WAVE file by program path (through OpenRegularFile).
bool ReadWaveFile(const char* path, cWaveData& wave, std::string* error = nullptr);

}  // namespace plat
