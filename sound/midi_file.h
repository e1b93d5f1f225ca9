#pragma once
// A Standard MIDI file (format 0 or 1) read whole and rebuilt as one format-0 image: the 14-byte
// header with the file's time division, one "MTrk" chunk, and every event of every track with
// its own status byte and its delta from the previous event of the merged song. Events on the
// same tick keep the order of their tracks; one end-of-track event closes the song at the latest
// track end. The MIDI stream player streams that image.
//
// Reading is bounded: every track is read inside its chunk length, chunks other than "MTrk" are
// skipped, and a file that breaks the format (no tracks, no time division, a number or an event
// that runs past its track, a gap between events too long for the image) is refused with a
// reason, never read past its end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/os/windows_types.h"

// Offsets in the image.
constexpr std::size_t kMidiImageDivision = 12;   // 2 bytes, big-endian, copied from the file
constexpr std::size_t kMidiImageTrackLength = 18;
constexpr std::size_t kMidiImageFirstEvent = 22;

// The largest variable-length quantity (four bytes of seven bits).
constexpr DWORD kMidiMaxVarLen = 268435455;
// Files beyond this are refused before they are read.
constexpr std::size_t kMidiMaxFileBytes = std::size_t{64} << 20;

// Reads a variable-length quantity from at most `size` bytes: the bytes read (1 to 4), or 0 when
// the number runs past `size` or four bytes all carry the continuation bit.
int ReadVarLen(const BYTE* bytes, std::size_t size, DWORD* value);
// Writes a variable-length quantity: the bytes written (1 to 4), 0 (nothing) above kMidiMaxVarLen.
int WriteVarLen(BYTE* out, DWORD value);

// Converts the bytes of a file into the image; false with the reason when the file is refused.
bool ConvertMidiFile(const BYTE* data, std::size_t size, std::vector<BYTE>& image, std::string* error);

class cMidiFile {
public:
    explicit cMidiFile(const char* fileName);
    virtual ~cMidiFile() = default;
    cMidiFile(const cMidiFile&) = delete;
    cMidiFile& operator=(const cMidiFile&) = delete;

    // Reads and converts the file; the image stays empty when it cannot be read or is refused
    // (one report line says why).
    void Load(const char* fileName);

    bool HasImage() const { return !m_Image.empty(); }
    const std::vector<BYTE>& Image() const { return m_Image; }
    const std::string& FileName() const { return m_strFileName; }

protected:
    std::vector<BYTE> m_Image;
    std::string m_strFileName;
};
