#pragma once
// Reads back the events of a format-0 image for comparisons: absolute time and the complete
// event with its status byte. Written from the file layout, not with the runtime's reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qbtest {

struct cMidiEvent {
    std::uint64_t time;
    std::string bytes;  // status byte first
    bool operator==(const cMidiEvent&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const cMidiEvent& e)
{
    out << e.time << ":";
    for (unsigned char c : e.bytes) out << ' ' << std::hex << int(c) << std::dec;
    return out;
}

inline std::vector<cMidiEvent> ImageEvents(const std::vector<unsigned char>& image)
{
    std::vector<cMidiEvent> events;
    EXPECT_GE(image.size(), 22u);
    if (image.size() < 22) return events;
    EXPECT_EQ(std::string(image.begin(), image.begin() + 14), std::string("MThd\0\0\0\6\0\0\0\1", 12) +
                                                                  std::string(image.begin() + 12, image.begin() + 14));
    const std::size_t length = (std::size_t{image[18]} << 24) | (image[19] << 16) | (image[20] << 8) | image[21];
    EXPECT_EQ(length, image.size() - 22);
    std::size_t at = 22;
    std::uint64_t time = 0;
    auto vlq = [&] {
        std::uint32_t v = 0;
        for (int i = 0; i < 4 && at < image.size(); ++i) {
            const unsigned char b = image[at++];
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80)) break;
        }
        return v;
    };
    while (at < image.size()) {
        time += vlq();
        const std::size_t start = at;
        const unsigned char status = image[at++];
        if (status == 0xFF) ++at;
        if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
            const std::uint32_t n = vlq();
            at += n;
        } else {
            at += (status >= 0xC0 && status <= 0xDF) ? 1 : 2;
        }
        if (at > image.size()) {
            ADD_FAILURE() << "an event runs past the image";
            break;
        }
        events.push_back({time, std::string(image.begin() + start, image.begin() + at)});
    }
    return events;
}

}  // namespace qbtest
