#include "tools/lib/midi_fuzz.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sound/midi_file.h"

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

// Walks the image event by event; every event must lie inside it, only the last may be the end
// of track, and the header must be the one of a format-0 file with one track.
void CheckImage(const std::vector<BYTE>& image, const std::uint8_t* file)
{
    Require(image.size() >= kMidiImageFirstEvent);
    Require(std::memcmp(image.data(), "MThd\0\0\0\6\0\0\0\1", 12) == 0);
    Require(image[12] == file[12] && image[13] == file[13]);
    Require(std::memcmp(image.data() + 14, "MTrk", 4) == 0);
    const std::size_t length = (std::size_t{image[18]} << 24) | (std::size_t{image[19]} << 16) |
                               (std::size_t{image[20]} << 8) | image[21];
    Require(length == image.size() - kMidiImageFirstEvent);
    std::size_t at = kMidiImageFirstEvent;
    bool ended = false;
    while (at < image.size()) {
        Require(!ended);
        DWORD delta = 0;
        const int n = ReadVarLen(image.data() + at, image.size() - at, &delta);
        Require(n > 0);
        at += n;
        Require(at < image.size());
        const BYTE status = image[at++];
        Require(status >= 0x80);
        std::size_t size = 0;
        if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
            const std::size_t type = status == 0xFF ? 1 : 0;
            Require(at + type <= image.size());
            DWORD dataLength = 0;
            const int m = ReadVarLen(image.data() + at + type, image.size() - at - type, &dataLength);
            Require(m > 0);
            size = type + m + dataLength;
            ended = status == 0xFF && image[at] == 0x2F;
        } else {
            size = (status >= 0xC0 && status <= 0xDF) ? 1 : 2;
        }
        Require(size <= image.size() - at);
        at += size;
    }
    Require(ended);
}

}  // namespace

int FuzzMidi(const std::uint8_t* data, std::size_t size)
{
    std::vector<BYTE> image;
    std::string error;
    if (!ConvertMidiFile(data, size, image, &error)) {
        Require(!error.empty() && image.empty());
        return 0;
    }
    CheckImage(image, data);
    return 0;
}
