#pragma once
// WAVE files for the sound tests, written byte by byte from the RIFF layout.
#include <cmath>
#include <cstdint>
#include <string>

#include "tests/support/byte_builder.h"

namespace qbtest {

struct cWaveSpec {
    int rate = 22050;
    int bits = 8;
    int channels = 1;
    double frequency = 441.0;
    double amplitude = 0.5;      // of full scale
    int frames = 22050;
    int formatChunkSize = 16;    // 16, 18 or more (zeros after the record)
    bool listChunkFirst = false; // a LIST chunk of odd size (padded) before the format
    int formatTag = 1;
    int blockAlign = -1;         // -1: channels * bits / 8
};

inline std::string SineSamples(const cWaveSpec& s)
{
    cByteBuilder b;
    for (int i = 0; i < s.frames; ++i) {
        const double v = s.amplitude * std::sin(2.0 * 3.14159265358979323846 * s.frequency * i / s.rate);
        for (int c = 0; c < s.channels; ++c) {
            if (s.bits == 8) b.U8(static_cast<std::uint8_t>(std::lround(128.0 + v * 127.0)));
            else b.U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767.0))));
        }
    }
    return b.Str();
}

inline std::string WaveFile(const cWaveSpec& s, const std::string& samples)
{
    cByteBuilder b;
    b.Bytes("RIFF").U32(0).Bytes("WAVE");
    if (s.listChunkFirst) b.Bytes("LIST").U32(5).Bytes("INFOx").U8(0);
    const int align = s.blockAlign >= 0 ? s.blockAlign : s.channels * s.bits / 8;
    b.Bytes("fmt ").U32(static_cast<std::uint32_t>(s.formatChunkSize));
    b.U16(static_cast<std::uint16_t>(s.formatTag)).U16(static_cast<std::uint16_t>(s.channels));
    b.U32(static_cast<std::uint32_t>(s.rate)).U32(static_cast<std::uint32_t>(s.rate * align));
    b.U16(static_cast<std::uint16_t>(align)).U16(static_cast<std::uint16_t>(s.bits));
    if (s.formatChunkSize > 16) b.Zeros(static_cast<std::size_t>(s.formatChunkSize - 16));
    b.Bytes("data").U32(static_cast<std::uint32_t>(samples.size())).Bytes(samples);
    if (samples.size() & 1) b.U8(0);
    b.PatchU32(4, static_cast<std::uint32_t>(b.Size() - 8));
    return b.Str();
}

inline std::string SineWave(const cWaveSpec& s) { return WaveFile(s, SineSamples(s)); }

}  // namespace qbtest
