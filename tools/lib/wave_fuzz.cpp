#include "tools/lib/wave_fuzz.h"

#include <cstdlib>
#include <string>

#include "platform/audio/ogg_decoder.h"
#include "platform/audio/wave_reader.h"

int FuzzWave(const std::uint8_t* data, std::size_t size)
{
    plat::cWaveData wave;
    std::string error;
    if (!plat::ReadWave(data, size, wave, &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    const WAVEFORMATEX& f = wave.format;
    const bool formatKept = f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) &&
                            (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) &&
                            f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8 && f.nSamplesPerSec >= plat::kWaveMinRate &&
                            f.nSamplesPerSec <= plat::kWaveMaxRate;
    if (!formatKept || wave.samples.empty() || wave.samples.size() % f.nBlockAlign != 0 || wave.samples.size() > size)
        std::abort();
    unsigned sum = 0;
    for (BYTE b : wave.samples) sum += b;
    volatile unsigned seen = sum;  // every sample byte read, for the sanitizer's sake
    (void)seen;
    return 0;
}

int FuzzOgg(const std::uint8_t* data, std::size_t size)
{
    plat::cOggDecoder decoder;
    std::string error;
    if (!decoder.OpenMemory(data, size, &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    // Two passes with a rewind between, as a looping song reads; the bound keeps a stream that
    // claims hours from taking hours.
    constexpr long kMaxFrames = 1 << 22;
    float frames[2 * 1024];
    for (int pass = 0; pass < 2; ++pass) {
        long total = 0;
        int got;
        while (total < kMaxFrames && (got = decoder.Read(frames, 1024)) > 0) total += got;
        if (!decoder.Rewind()) break;
    }
    return 0;
}

