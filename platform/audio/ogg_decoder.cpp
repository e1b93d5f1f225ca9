#include "platform/audio/ogg_decoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/os/files.h"

namespace plat {

namespace {

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
// Holes in a row that end a damaged stream.
constexpr int kMaxHoles = 64;

std::size_t FileRead(void* ptr, std::size_t size, std::size_t count, void* source)
{
    return std::fread(ptr, size, count, static_cast<FILE*>(source));
}
int FileSeek(void* source, ogg_int64_t offset, int whence)
{
    return fseeko(static_cast<FILE*>(source), static_cast<off_t>(offset), whence);
}
int FileClose(void* source) { return std::fclose(static_cast<FILE*>(source)); }
long FileTell(void* source) { return static_cast<long>(ftello(static_cast<FILE*>(source))); }

const char* OpenError(int result)
{
    switch (result) {
    case OV_EREAD: return "cannot read the file";
    case OV_ENOTVORBIS: return "not an Ogg Vorbis file";
    case OV_EVERSION: return "an unknown Vorbis version";
    case OV_EBADHEADER: return "a damaged Vorbis header";
    case OV_EFAULT: return "a fault in the Vorbis decoder";
    default: return "not a playable Ogg Vorbis file";
    }
}

}  // namespace

struct cOggMemoryCallbacks {
    static std::size_t Read(void* ptr, std::size_t size, std::size_t count, void* source)
    {
        auto* d = static_cast<cOggDecoder*>(source);
        if (size == 0) return 0;
        const std::size_t left = d->m_nSize - d->m_nPos;
        const std::size_t items = std::min(count, left / size);
        // An empty input may have no buffer at all: nothing to copy, and no pointer to copy from.
        if (items == 0) return 0;
        std::memcpy(ptr, d->m_lpData + d->m_nPos, items * size);
        d->m_nPos += items * size;
        return items;
    }
    static int Seek(void* source, ogg_int64_t offset, int whence)
    {
        auto* d = static_cast<cOggDecoder*>(source);
        ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<ogg_int64_t>(d->m_nPos)
                                                                      : static_cast<ogg_int64_t>(d->m_nSize);
        const ogg_int64_t target = base + offset;
        if (target < 0 || target > static_cast<ogg_int64_t>(d->m_nSize)) return -1;
        d->m_nPos = static_cast<std::size_t>(target);
        return 0;
    }
    static long Tell(void* source) { return static_cast<long>(static_cast<cOggDecoder*>(source)->m_nPos); }
};

cOggDecoder::cOggDecoder() : m_File(std::make_unique<OggVorbis_File>()) {}

cOggDecoder::~cOggDecoder() { Close(); }

void cOggDecoder::Close()
{
    if (m_bOpen) ov_clear(m_File.get());  // closes the file through the callbacks
    m_bOpen = false;
    m_nRate = 0;
    m_lpData = nullptr;
    m_nSize = m_nPos = 0;
}

bool cOggDecoder::Finish(int result, std::string* error)
{
    if (result < 0) {
        if (error) *error = OpenError(result);
        return false;
    }
    m_bOpen = true;
    const vorbis_info* info = ov_info(m_File.get(), -1);
    if (!info || info->channels < 1 || info->rate < kMinRate || info->rate > kMaxRate) {
        Close();
        if (error) *error = "the sample rate or channel count is out of range";
        return false;
    }
    m_nRate = static_cast<int>(info->rate);
    return true;
}

bool cOggDecoder::OpenFile(const char* path, std::string* error)
{
    Close();
    FILE* file = plat::OpenRegularFile(path);
    if (!file) {
        if (error) *error = "cannot open the file";
        return false;
    }
    const ov_callbacks callbacks{FileRead, FileSeek, FileClose, FileTell};
    const int result = ov_open_callbacks(file, m_File.get(), nullptr, 0, callbacks);
    // On failure the caller keeps the file; on success ov_clear closes it.
    if (result < 0) std::fclose(file);
    return Finish(result, error);
}

bool cOggDecoder::OpenMemory(const std::uint8_t* data, std::size_t size, std::string* error)
{
    Close();
    m_lpData = data;
    m_nSize = size;
    m_nPos = 0;
    const ov_callbacks callbacks{cOggMemoryCallbacks::Read, cOggMemoryCallbacks::Seek, nullptr,
                                 cOggMemoryCallbacks::Tell};
    const int result = ov_open_callbacks(this, m_File.get(), nullptr, 0, callbacks);
    if (result < 0) m_lpData = nullptr;
    return Finish(result, error);
}

int cOggDecoder::Read(float* out, int maxFrames)
{
    if (!m_bOpen) return 0;
    int holes = 0;
    while (true) {
        float** pcm = nullptr;
        int section = 0;
        const long got = ov_read_float(m_File.get(), &pcm, maxFrames, &section);
        if (got == OV_HOLE && ++holes < kMaxHoles) continue;
        if (got <= 0) return 0;
        const vorbis_info* info = ov_info(m_File.get(), -1);
        const int channels = info ? info->channels : 1;
        const float* left = pcm[0];
        const float* right = channels >= 2 ? pcm[1] : pcm[0];
        for (long i = 0; i < got; ++i) {
            out[2 * i] = left[i];
            out[2 * i + 1] = right[i];
        }
        return static_cast<int>(got);
    }
}

bool cOggDecoder::Rewind() { return m_bOpen && ov_pcm_seek(m_File.get(), 0) == 0; }

}  // namespace plat
