#include "sound/midi_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/os/files.h"
#include "shell/log.h"

namespace {

// One event of a track: its absolute time and where its bytes after the status lie.
struct cParsedEvent {
    std::uint64_t time;
    BYTE status;
    const BYTE* data;
    std::uint32_t size;
};

constexpr BYTE kEndOfTrack[] = {0x2F, 0x00};

bool Fail(std::string* error, const char* why)
{
    if (error) *error = why;
    return false;
}

std::uint32_t BigEndian32(const BYTE* p) { return (DWORD{p[0]} << 24) | (DWORD{p[1]} << 16) | (DWORD{p[2]} << 8) | p[3]; }
std::uint16_t BigEndian16(const BYTE* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

// Reads inside [m_lpAt, m_lpEnd) only.
class cCursor {
public:
    cCursor(const BYTE* begin, std::size_t size) : m_lpAt(begin), m_lpEnd(begin + size) {}
    std::size_t Left() const { return static_cast<std::size_t>(m_lpEnd - m_lpAt); }
    const BYTE* At() const { return m_lpAt; }
    bool VarLen(DWORD* value)
    {
        const int n = ReadVarLen(m_lpAt, Left(), value);
        m_lpAt += n;
        return n > 0;
    }
    bool Peek(BYTE* value) const
    {
        if (Left() < 1) return false;
        *value = *m_lpAt;
        return true;
    }
    bool Skip(std::size_t n)
    {
        if (Left() < n) return false;
        m_lpAt += n;
        return true;
    }

private:
    const BYTE* m_lpAt;
    const BYTE* m_lpEnd;
};

// Bytes after the status byte of a system-exclusive or meta event: [type,] the length and the
// data. The cursor stands after the status; false when the event runs past the track.
bool LongEventSize(cCursor track, bool meta, std::uint32_t* size)
{
    const BYTE* start = track.At();
    DWORD length = 0;
    if (meta && !track.Skip(1)) return false;
    if (!track.VarLen(&length) || !track.Skip(length)) return false;
    *size = static_cast<std::uint32_t>(track.At() - start);
    return true;
}

// Reads the events of one track chunk. The end-of-track event is not kept; `end` is its time
// (or the time of the last event of a track that lacks it).
bool ParseTrack(cCursor track, std::vector<cParsedEvent>& events, std::uint64_t* end, std::string* error)
{
    std::uint64_t time = 0;
    BYTE runningStatus = 0;
    while (track.Left() > 0) {
        DWORD delta = 0;
        if (!track.VarLen(&delta)) return Fail(error, "a delta time runs past its track");
        time += delta;
        BYTE status = 0;
        if (!track.Peek(&status)) return Fail(error, "an event runs past its track");
        if (status < 0x80) {
            // Running status: the byte stays as the first data byte.
            if (runningStatus == 0) return Fail(error, "a data byte without a status");
            status = runningStatus;
        } else {
            track.Skip(1);
        }
        if (status < 0xF0) {
            // Only channel messages set the running status: a data byte after a meta event
            // would otherwise be read as a meta event without its type.
            runningStatus = status;
        }
        std::uint32_t size = 0;
        if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
            if (!LongEventSize(track, status == 0xFF, &size)) return Fail(error, "an event runs past its track");
        } else {
            size = (status >= 0xC0 && status <= 0xDF) ? 1 : 2;
            if (track.Left() < size) return Fail(error, "an event runs past its track");
        }
        if (status == 0xFF && track.At()[0] == 0x2F) {
            *end = time;
            return true;
        }
        events.push_back({time, status, track.At(), size});
        track.Skip(size);
    }
    *end = time;
    return true;
}

bool ValidDivision(std::uint16_t division, std::string* error)
{
    if (division == 0) return Fail(error, "the time division is 0");
    if (division & 0x8000) {
        const int framesPerSecond = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
        if (framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 && framesPerSecond != 30)
            return Fail(error, "the SMPTE frame rate is not 24, 25, 29 or 30");
        if ((division & 0xFF) == 0) return Fail(error, "the SMPTE division has no ticks per frame");
    }
    return true;
}

// Reads every track, then merges them: a stable sort by time of the tracks laid end to end is
// the merge that takes, on equal times, the event of the lower track first.
bool ParseTracks(const BYTE* data, std::size_t size, std::vector<cParsedEvent>& merged, std::string* error)
{
    const int trackCount = BigEndian16(data + 10);
    if (trackCount == 0) return Fail(error, "the file has no tracks");
    cCursor file(data + 14, size - 14);
    std::uint64_t songEnd = 0;
    for (int track = 0; track < trackCount;) {
        if (file.Left() < 8) return Fail(error, "a track is missing");
        const BYTE* chunk = file.At();
        const std::uint32_t length = BigEndian32(chunk + 4);
        file.Skip(8);
        if (file.Left() < length) return Fail(error, "a track runs past the end of the file");
        if (std::memcmp(chunk, "MTrk", 4) == 0) {
            std::uint64_t end = 0;
            if (!ParseTrack(cCursor(file.At(), length), merged, &end, error)) return false;
            songEnd = std::max(songEnd, end);
            ++track;
        }
        file.Skip(length);
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const cParsedEvent& a, const cParsedEvent& b) { return a.time < b.time; });
    merged.push_back({songEnd, 0xFF, kEndOfTrack, sizeof kEndOfTrack});
    return true;
}

bool BuildSingleTrack(const BYTE* data, const std::vector<cParsedEvent>& merged, std::vector<BYTE>& image,
                      std::string* error)
{
    std::size_t bytes = kMidiImageFirstEvent;
    for (const cParsedEvent& event : merged) bytes += 4 + 1 + event.size;
    image.clear();
    image.reserve(bytes);
    const BYTE header[kMidiImageFirstEvent] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1,
                                               data[12], data[13], 'M', 'T', 'r', 'k', 0, 0, 0, 0};
    image.assign(header, header + sizeof header);
    std::uint64_t previous = 0;
    for (const cParsedEvent& event : merged) {
        const std::uint64_t delta = event.time - previous;
        if (delta > kMidiMaxVarLen) return Fail(error, "a gap between two events is too long");
        previous = event.time;
        BYTE quantity[4];
        image.insert(image.end(), quantity, quantity + WriteVarLen(quantity, static_cast<DWORD>(delta)));
        image.push_back(event.status);
        image.insert(image.end(), event.data, event.data + event.size);
    }
    const std::size_t length = image.size() - kMidiImageFirstEvent;
    if (length > 0xFFFFFFFFu) return Fail(error, "the song is too long");
    for (int i = 0; i < 4; ++i) image[kMidiImageTrackLength + i] = static_cast<BYTE>(length >> (24 - 8 * i));
    return true;
}

}  // namespace

int ReadVarLen(const BYTE* bytes, std::size_t size, DWORD* value)
{
    DWORD result = 0;
    for (int i = 0; i < 4; ++i) {
        if (static_cast<std::size_t>(i) >= size) return 0;
        result = (result << 7) | (bytes[i] & 0x7F);
        if (!(bytes[i] & 0x80)) {
            *value = result;
            return i + 1;
        }
    }
    return 0;
}

int WriteVarLen(BYTE* out, DWORD value)
{
    if (value > kMidiMaxVarLen) return 0;
    int count = 1;
    while (count < 4 && (value >> (7 * count)) != 0) ++count;
    for (int i = 0; i < count; ++i) {
        const int shift = 7 * (count - 1 - i);
        out[i] = static_cast<BYTE>(((value >> shift) & 0x7F) | (i + 1 < count ? 0x80 : 0));
    }
    return count;
}

bool ConvertMidiFile(const BYTE* data, std::size_t size, std::vector<BYTE>& image, std::string* error)
{
    image.clear();
    if (size < 4 || std::memcmp(data, "MThd", 4) != 0) return Fail(error, "標準MIDIでない(4)");
    if (size < 14 || BigEndian32(data + 4) != 6) return Fail(error, "標準MIDIでない(6)");
    const std::uint16_t format = BigEndian16(data + 8);
    if (format == 2) return Fail(error, "対応フォーマットが2でない");
    if (format > 2) return Fail(error, "対応フォーマットが0または1でない");
    if (!ValidDivision(BigEndian16(data + 12), error)) return false;
    std::vector<cParsedEvent> merged;
    std::vector<BYTE> built;
    if (!ParseTracks(data, size, merged, error) || !BuildSingleTrack(data, merged, built, error)) return false;
    image = std::move(built);
    return true;
}

cMidiFile::cMidiFile(const char* fileName) { Load(fileName); }

void cMidiFile::Load(const char* fileName)
{
    m_Image.clear();
    m_strFileName = fileName ? fileName : "";
    const char* name = m_strFileName.c_str();
    std::unique_ptr<FILE, int (*)(FILE*)> file(plat::OpenRegularFile(name), std::fclose);
    if (!file) {
        ReportLogEcho("Midi %s Create ファイルが開けません", name);
        return;
    }
    long length = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) length = std::ftell(file.get());
    if (length < 0 || static_cast<std::size_t>(length) > kMidiMaxFileBytes) {
        ReportLogEcho("Midi %s Init %s", name, length < 0 ? "cannot read the file" : "the file is too large");
        return;
    }
    std::rewind(file.get());
    std::vector<BYTE> bytes(static_cast<std::size_t>(length));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        ReportLogEcho("Midi %s Init cannot read the file", name);
        return;
    }
    std::string error;
    if (!ConvertMidiFile(bytes.data(), bytes.size(), m_Image, &error)) ReportLogEcho("Midi %s Init %s", name, error.c_str());
}
