#pragma once
// A sink in place of the synthesiser: it records every message with the sample at which the
// stream delivered it, and counts (without recording) the messages a stop or a pause sends on
// every channel: all notes off, all sound off, and the sustain-off right after them.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/midi_synth.h"

namespace qbtest {

struct cSinkRecord {
    std::int64_t sample;
    std::string bytes;  // status byte first
};

class cRecordingSink : public plat::cMidiSink {
public:
    void ShortMessage(std::uint32_t message) override
    {
        const int status = message & 0xFF, controller = (message >> 8) & 0xFF;
        std::lock_guard<std::mutex> lock(m_Mutex);
        const bool silence = (status & 0xF0) == 0xB0 && (controller == 123 || controller == 120);
        const bool sustainOff = (status & 0xF0) == 0xB0 && controller == 64 && ((message >> 16) & 0xFF) == 0;
        const bool afterSilence = m_nLastSilence == status;
        m_nLastSilence = silence ? status : -1;
        if (silence) ++m_nSilences;
        if (silence || (sustainOff && afterSilence)) return;
        const int length = status >= 0xC0 && status <= 0xDF ? 2 : 3;
        std::string bytes;
        for (int i = 0; i < length; ++i) bytes.push_back(static_cast<char>((message >> (8 * i)) & 0xFF));
        m_Records.push_back({m_nSample, bytes});
    }
    void LongMessage(const std::uint8_t* bytes, std::size_t size) override
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_nLastSilence = -1;
        m_Records.push_back({m_nSample, std::string(reinterpret_cast<const char*>(bytes), size)});
    }
    void Render(float*, int frames, int) override
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_nSample += frames;
    }
    void SoundOff() override {}
    void Reset() override
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        ++m_nResets;
    }

    std::vector<cSinkRecord> Records()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Records;
    }
    std::int64_t Frames()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_nSample;
    }
    int Silences()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_nSilences;
    }
    int Resets()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_nResets;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Records.clear();
        m_nSilences = 0;
    }

private:
    std::mutex m_Mutex;
    std::vector<cSinkRecord> m_Records;
    std::int64_t m_nSample = 0;
    int m_nSilences = 0;
    int m_nResets = 0;
    int m_nLastSilence = -1;  // status of the last silence message, -1 after any other
};

}  // namespace qbtest
