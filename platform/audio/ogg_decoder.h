#pragma once
// An Ogg Vorbis stream decoded with libvorbisfile into stereo float frames (a mono stream on
// both sides, a stream of more channels by its first two), from a file or from memory.
// Damaged streams end early instead of looping or hanging.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct OggVorbis_File;

namespace plat {

class cOggDecoder {
public:
    cOggDecoder();
    ~cOggDecoder();
    cOggDecoder(const cOggDecoder&) = delete;
    cOggDecoder& operator=(const cOggDecoder&) = delete;

    // Opens a file by program path (through OpenRegularFile); false with a reason when it is
    // not a Vorbis stream we can play.
    bool OpenFile(const char* path, std::string* error = nullptr);
    // Opens bytes that stay owned by the caller while the decoder is open.
    bool OpenMemory(const std::uint8_t* data, std::size_t size, std::string* error = nullptr);
    void Close();
    bool IsOpen() const { return m_bOpen; }

    int Rate() const { return m_nRate; }
    // Decodes up to maxFrames stereo frames into out (interleaved); 0 at the end of the stream
    // (or at a fault that ends it).
    int Read(float* out, int maxFrames);
    // Back to the first sample; false when the stream cannot seek.
    bool Rewind();

private:
    bool Finish(int result, std::string* error);

    std::unique_ptr<OggVorbis_File> m_File;
    bool m_bOpen = false;
    int m_nRate = 0;
    // The memory source.
    const std::uint8_t* m_lpData = nullptr;
    std::size_t m_nSize = 0;
    std::size_t m_nPos = 0;
    friend struct cOggMemoryCallbacks;
};

}  // namespace plat
