#include "platform/audio/ogg_player.h"

#include <algorithm>

namespace plat {

namespace {

// About 0.7 s at 48 kHz decoded ahead: the streaming thread wakes well within that.
constexpr std::size_t kRingFrames = std::size_t{1} << 15;
constexpr int kChunkFrames = 2048;
// A full ring is filled again once the mixer has played it down to half: a few wake-ups a
// second, with a third of a second or more still to play while the next chunks are decoded.
constexpr std::size_t kRefillBelow = kRingFrames / 2;
constexpr std::uint64_t kOne = std::uint64_t{1} << 32;

}  // namespace

cOggPlayer::cOggPlayer() : m_Device(AcquireAudioDevice()), m_Ring(kRingFrames)
{
    if (m_Device) {
        cAudioLock lock(*m_Device);
        m_Device->Attach(this);
    }
    m_Thread = std::thread([this] { StreamThread(); });
}

cOggPlayer::~cOggPlayer()
{
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        StopLocked(lock);
        m_bQuit = true;
    }
    m_Cv.notify_all();
    m_Thread.join();
    if (m_Device) {
        cAudioLock lock(*m_Device);
        m_Device->Detach(this);
    }
}

void cOggPlayer::StreamThread()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    while (!m_bQuit) {
        if (m_eDecode != eDecode::Running) {
            // Play, Stop, a waiting reader and the end of the player all notify.
            m_Cv.wait(lock);
            continue;
        }
        if (m_Ring.Space() < static_cast<std::size_t>(kChunkFrames)) {
            // The mixer never signals (it must not take a lock): sleep for as long as it takes
            // to play the ring down to the refill mark at the song's rate.
            const std::size_t above = m_Ring.Size() > kRefillBelow ? m_Ring.Size() - kRefillBelow : 0;
            const int rate = std::max(m_Decoder.Rate(), 1);
            const auto due = std::chrono::milliseconds(1 + above * 1000 / static_cast<std::size_t>(rate));
            m_Cv.wait_for(lock, due);
            continue;
        }
        m_bBusy = true;
        lock.unlock();
        const bool more = DecodeChunk();
        lock.lock();
        m_bBusy = false;
        if (!more) m_eDecode = eDecode::Idle;
        m_Cv.notify_all();
    }
}

bool cOggPlayer::DecodeChunk()
{
    float frames[2 * kChunkFrames];
    const int got = m_Decoder.Read(frames, kChunkFrames);
    if (got > 0) {
        m_bPassHadFrames = true;
        m_Ring.Write(frames, static_cast<std::size_t>(got));
        return true;
    }
    // The end of one pass: go on from the first sample in the same ring. A pass that gave no
    // frame at all would loop for ever without sound, so it ends the song.
    if (m_nLoopsLeft > 0 && m_bPassHadFrames && m_Decoder.Rewind()) {
        if (m_nLoopsLeft != kLoopForever) --m_nLoopsLeft;
        m_bPassHadFrames = false;
        return true;
    }
    m_bEnded.store(true, std::memory_order_release);
    return false;
}

void cOggPlayer::StopLocked(std::unique_lock<std::mutex>& lock)
{
    m_Cv.wait(lock, [this] { return !m_bBusy; });
    m_eDecode = eDecode::Idle;
    if (m_Device) {
        cAudioLock audio(*m_Device);
        m_bActive.store(false);
    }
    // Neither side touches the ring now.
    m_Ring.Reset();
    m_bEnded.store(false);
}

bool cOggPlayer::Load(const char* path)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    StopLocked(lock);
    m_Decoder.Close();
    if (!m_Device) {
        m_strError = std::string("no audio device (") + AudioDeviceError() + ")";
        return false;
    }
    m_strError.clear();
    return m_Decoder.OpenFile(path, &m_strError);
}

void cOggPlayer::Play()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    StopLocked(lock);
    if (!m_Device || !m_Decoder.IsOpen() || !m_Decoder.Rewind()) return;
    m_nLoopsLeft = m_nLoop;
    m_bPassHadFrames = false;
    // Two chunks before the voice starts, so that the song starts at once.
    bool more = DecodeChunk();
    if (more) more = DecodeChunk();
    {
        cAudioLock audio(*m_Device);
        m_nRate = m_Decoder.Rate();
        m_Current[0] = m_Current[1] = m_Next[0] = m_Next[1] = 0.0f;
        m_nFrac = 2 * kOne;  // the first two pulls bring frames 0 and 1
        m_nPastEnd = 0;
        m_bActive.store(true);
    }
    m_eDecode = more ? eDecode::Running : eDecode::Idle;
    m_Cv.notify_all();
}

void cOggPlayer::Stop()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    StopLocked(lock);
}

void cOggPlayer::PrepareLoad()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    StopLocked(lock);
    m_Decoder.Close();
}

void cOggPlayer::SetLoop(int count)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_nLoop = std::max(count, 0);
}

bool cOggPlayer::WaitBuffered(std::size_t frames, std::chrono::milliseconds bound)
{
    const std::size_t wanted = std::min(frames, m_Ring.Capacity() - kChunkFrames);
    std::unique_lock<std::mutex> lock(m_Mutex);
    // A caller that renders faster than real time must not wait for the refill mark.
    m_Cv.notify_all();
    return m_Cv.wait_for(lock, bound, [&] {
        return m_Ring.Size() >= wanted || m_bEnded.load() || m_eDecode != eDecode::Running;
    });
}

bool cOggPlayer::PullFrame()
{
    float left, right;
    bool got = m_Ring.Pop(left, right);
    if (!got) {
        // Empty and not at the end: the streaming thread is behind; wait for it.
        if (!m_bEnded.load(std::memory_order_acquire)) return false;
        got = m_Ring.Pop(left, right);
    }
    if (!got) {
        left = right = 0.0f;
        // Past the last frame twice: the last frame has been heard.
        if (++m_nPastEnd >= 2) {
            m_bActive.store(false, std::memory_order_relaxed);
            return false;
        }
    }
    m_Current[0] = m_Next[0];
    m_Current[1] = m_Next[1];
    m_Next[0] = left;
    m_Next[1] = right;
    return true;
}

void cOggPlayer::MixInto(float* out, int frames, int rate)
{
    if (!m_bActive.load(std::memory_order_relaxed) || rate <= 0 || m_nRate <= 0) return;
    const std::uint64_t step = (static_cast<std::uint64_t>(m_nRate) << 32) / static_cast<std::uint64_t>(rate);
    for (int i = 0; i < frames; ++i) {
        while (m_nFrac >= kOne) {
            if (!PullFrame()) return;
            m_nFrac -= kOne;
        }
        const float frac = static_cast<float>(m_nFrac) * (1.0f / 4294967296.0f);
        out[2 * i] += m_Current[0] + (m_Next[0] - m_Current[0]) * frac;
        out[2 * i + 1] += m_Current[1] + (m_Next[1] - m_Current[1]) * frac;
        m_nFrac += step;
    }
}

}  // namespace plat
