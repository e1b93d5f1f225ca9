#pragma once
// Standard MIDI files for fixtures, written byte by byte from the file layout (big-endian
// header and chunks, variable-length quantities), independently of the runtime's reader.
#include <cstdint>
#include <string>
#include <vector>

namespace qbtest {

inline std::string BigEndian(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

inline std::string Vlq(std::uint32_t value)
{
    std::string out(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return out;
}

inline std::string MidiChunk(const char* id, const std::string& body)
{
    return std::string(id, 4) + BigEndian(static_cast<std::uint32_t>(body.size()), 4) + body;
}

inline std::string MidiHeader(int format, int tracks, int division, int headerLength = 6)
{
    return "MThd" + BigEndian(static_cast<std::uint32_t>(headerLength), 4) + BigEndian(format, 2) +
           BigEndian(tracks, 2) + BigEndian(division, 2);
}

inline const std::string kEndOfTrack("\xFF\x2F\x00", 3);

// A file of the given tracks (event bytes, each with its delta; no end-of-track added).
inline std::string MidiFile(int format, int division, const std::vector<std::string>& tracks)
{
    std::string file = MidiHeader(format, static_cast<int>(tracks.size()), division);
    for (const std::string& track : tracks) file += MidiChunk("MTrk", track);
    return file;
}

// An event: delta, then its bytes.
inline std::string Ev(std::uint32_t delta, const std::string& bytes) { return Vlq(delta) + bytes; }
inline std::string NoteOn(int channel, int key, int velocity)
{
    return {static_cast<char>(0x90 | channel), static_cast<char>(key), static_cast<char>(velocity)};
}
inline std::string Tempo(std::uint32_t microsecondsPerQuarter) { return "\xFF\x51\x03" + BigEndian(microsecondsPerQuarter, 3); }
inline std::string Meta(int type, const std::string& data)
{
    return std::string("\xFF", 1) + static_cast<char>(type) + Vlq(static_cast<std::uint32_t>(data.size())) + data;
}
inline std::string Sysex(const std::string& data)
{
    return std::string("\xF0", 1) + Vlq(static_cast<std::uint32_t>(data.size())) + data;
}

}  // namespace qbtest
