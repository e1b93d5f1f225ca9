#pragma once
// A ring of stereo float frames between one writer thread and the mixer: lock-free, no
// allocation after construction. Reset only while neither side uses it.
#include <atomic>
#include <cstddef>
#include <vector>

namespace plat {

class cAudioRing {
public:
    explicit cAudioRing(std::size_t frames) : m_Samples(2 * frames), m_nCapacity(frames) {}

    std::size_t Capacity() const { return m_nCapacity; }
    std::size_t Size() const
    {
        return m_nWritten.load(std::memory_order_acquire) - m_nRead.load(std::memory_order_acquire);
    }
    std::size_t Space() const { return m_nCapacity - Size(); }

    // Writer: copies up to `frames` frames; returns how many fitted.
    std::size_t Write(const float* frames, std::size_t count)
    {
        const std::size_t written = m_nWritten.load(std::memory_order_relaxed);
        const std::size_t space = m_nCapacity - (written - m_nRead.load(std::memory_order_acquire));
        const std::size_t n = count < space ? count : space;
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t at = 2 * ((written + i) % m_nCapacity);
            m_Samples[at] = frames[2 * i];
            m_Samples[at + 1] = frames[2 * i + 1];
        }
        m_nWritten.store(written + n, std::memory_order_release);
        return n;
    }

    // Reader: one frame, false when the ring is empty.
    bool Pop(float& left, float& right)
    {
        const std::size_t read = m_nRead.load(std::memory_order_relaxed);
        if (m_nWritten.load(std::memory_order_acquire) == read) return false;
        const std::size_t at = 2 * (read % m_nCapacity);
        left = m_Samples[at];
        right = m_Samples[at + 1];
        m_nRead.store(read + 1, std::memory_order_release);
        return true;
    }

    void Reset()
    {
        m_nWritten.store(0, std::memory_order_relaxed);
        m_nRead.store(0, std::memory_order_relaxed);
    }

private:
    std::vector<float> m_Samples;
    std::size_t m_nCapacity;
    std::atomic<std::size_t> m_nWritten{0};
    std::atomic<std::size_t> m_nRead{0};
};

}  // namespace plat
