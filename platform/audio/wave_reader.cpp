#include "platform/audio/wave_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/os/files.h"

namespace plat {

namespace {

std::uint32_t Le32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24); }
WORD Le16(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

bool Refuse(std::string* error, const char* why)
{
    if (error) *error = why;
    return false;
}


// The format chunk: at most the 18 bytes of the record are read; a 16-byte chunk has no
// extra-size field, which then counts as 0.
bool ReadFormat(const BYTE* chunk, std::size_t size, WAVEFORMATEX& format, std::string* error)
{
    if (size < 16) return Refuse(error, "the format chunk is shorter than 16 bytes");
    format.wFormatTag = Le16(chunk);
    format.nChannels = Le16(chunk + 2);
    format.nSamplesPerSec = Le32(chunk + 4);
    format.nAvgBytesPerSec = Le32(chunk + 8);
    format.nBlockAlign = Le16(chunk + 12);
    format.wBitsPerSample = Le16(chunk + 14);
    format.cbSize = size >= 18 ? Le16(chunk + 16) : 0;
    if (format.wFormatTag != WAVE_FORMAT_PCM) return Refuse(error, "not PCM");
    if (format.nChannels != 1 && format.nChannels != 2) return Refuse(error, "not mono or stereo");
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) return Refuse(error, "not 8 or 16 bits a sample");
    if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        return Refuse(error, "the block alignment does not match the channels and bits");
    if (format.nSamplesPerSec < kWaveMinRate || format.nSamplesPerSec > kWaveMaxRate)
        return Refuse(error, "the sample rate is out of range");
    return true;
}

}  // namespace

bool ReadWave(const BYTE* data, std::size_t size, cWaveData& wave, std::string* error)
{
    wave = cWaveData{};
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return Refuse(error, "not a RIFF WAVE file");
    // The RIFF size bounds the chunks; a file shorter than it says is read as far as it goes.
    std::size_t end = size;
    const std::uint64_t riffEnd = std::uint64_t{8} + Le32(data + 4);
    if (riffEnd < end) end = static_cast<std::size_t>(riffEnd);

    bool haveFormat = false;
    const BYTE* samples = nullptr;
    std::size_t sampleBytes = 0;
    std::size_t pos = 12;
    while (pos + 8 <= end) {
        const BYTE* header = data + pos;
        const std::uint64_t chunkSize = Le32(header + 4);
        const std::size_t body = pos + 8;
        const std::size_t available = end - body;
        if (std::memcmp(header, "fmt ", 4) == 0 && !haveFormat) {
            if (chunkSize > available) return Refuse(error, "the format chunk runs past the end of the file");
            if (!ReadFormat(data + body, static_cast<std::size_t>(chunkSize), wave.format, error)) return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0 && !samples) {
            samples = data + body;
            sampleBytes = chunkSize < available ? static_cast<std::size_t>(chunkSize) : available;
        }
        // Chunks are padded to an even size.
        const std::uint64_t next = std::uint64_t{body} + chunkSize + (chunkSize & 1);
        if (next > end) break;
        pos = static_cast<std::size_t>(next);
    }
    if (!haveFormat) return Refuse(error, "no format chunk");
    if (!samples) return Refuse(error, "no data chunk");
    sampleBytes -= sampleBytes % wave.format.nBlockAlign;
    if (sampleBytes == 0) return Refuse(error, "no samples");
    wave.samples.assign(samples, samples + sampleBytes);
    return true;
}

bool ReadWaveFile(const char* path, cWaveData& wave, std::string* error)
{
    wave = cWaveData{};
    std::unique_ptr<FILE, int (*)(FILE*)> file(OpenRegularFile(path), std::fclose);
    if (!file) return Refuse(error, "cannot open the file");
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return Refuse(error, "cannot read the file");
    const long length = std::ftell(file.get());
    if (length < 0) return Refuse(error, "cannot read the file");
    if (static_cast<std::size_t>(length) > kWaveMaxFileBytes) return Refuse(error, "the file is too large");
    std::rewind(file.get());
    std::vector<BYTE> bytes(static_cast<std::size_t>(length));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return Refuse(error, "cannot read the file");
    return ReadWave(bytes.data(), bytes.size(), wave, error);
}

}  // namespace plat
