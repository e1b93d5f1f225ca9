#include "platform/audio/midi_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/midi_synth.h"

namespace plat {

namespace {

constexpr int kMaxQueued = 16;
constexpr std::size_t kNoticeCapacity = 256;
constexpr DWORD kShortEventBytes = 12;
constexpr int kChannels = 16;
// Tick-to-sample products of delta, tempo and rate need more than 64 bits.
using Wide = unsigned __int128;

std::mutex s_OpenMutex;
std::string s_strOpenError;
std::vector<cMidiSink*> s_SinksInUse;  // one stream at a time on a synthesiser
thread_local bool t_bInMixer = false;

DWORD ReadDword(const char* at)
{
    DWORD value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

class cMidiStream : public cAudioSource {
public:
    cMidiStream(std::shared_ptr<cAudioDevice> device, std::shared_ptr<cMidiSink> sink, MIDICALLBACK callback,
                DWORD_PTR instance)
        : m_Device(std::move(device)), m_Sink(std::move(sink)), m_lpCallback(callback), m_dwInstance(instance)
    {
        m_Thread = std::thread([this] { NoticeThread(); });
        cAudioLock lock(*m_Device);
        m_Device->Attach(this);
    }

    ~cMidiStream() override
    {
        {
            cAudioLock lock(*m_Device);
            StopLocked();
            m_Device->Detach(this);
        }
        m_bQuit.store(true);
        m_Wake.release();
        m_Thread.join();
        std::lock_guard<std::mutex> lock(s_OpenMutex);
        s_SinksInUse.erase(std::remove(s_SinksInUse.begin(), s_SinksInUse.end(), m_Sink.get()), s_SinksInUse.end());
    }

    cAudioDevice& Device() { return *m_Device; }

    MMRESULT Property(BYTE* property, DWORD flags)
    {
        if (!property || ((flags & MIDIPROP_SET) != 0) == ((flags & MIDIPROP_GET) != 0)) return MMSYSERR_INVALFLAG;
        cAudioLock lock(*m_Device);
        if (flags & MIDIPROP_TIMEDIV) {
            auto* div = reinterpret_cast<MIDIPROPTIMEDIV*>(property);
            if (flags & MIDIPROP_GET) {
                div->dwTimeDiv = m_dwTimeDiv;
                return MMSYSERR_NOERROR;
            }
            if (!ValidDivision(div->dwTimeDiv)) return MMSYSERR_INVALPARAM;
            m_dwTimeDiv = div->dwTimeDiv;
            return MMSYSERR_NOERROR;
        }
        if (flags & MIDIPROP_TEMPO) {
            auto* tempo = reinterpret_cast<MIDIPROPTEMPO*>(property);
            if (flags & MIDIPROP_GET) {
                tempo->dwTempo = m_dwTempo;
                return MMSYSERR_NOERROR;
            }
            if (tempo->dwTempo == 0) return MMSYSERR_INVALPARAM;
            m_dwTempo = tempo->dwTempo;
            return MMSYSERR_NOERROR;
        }
        return MMSYSERR_INVALFLAG;
    }

    MMRESULT Out(MIDIHDR* header)
    {
        if (!header || !header->lpData || header->dwBytesRecorded > header->dwBufferLength) return MMSYSERR_INVALPARAM;
        if (!(header->dwFlags.load() & MHDR_PREPARED)) return MIDIERR_UNPREPARED;
        if (header->dwFlags.load() & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
        cAudioLock lock(*m_Device);
        if (m_nQueued == kMaxQueued) return MMSYSERR_NOMEM;
        header->dwFlags.store((header->dwFlags.load() & ~MHDR_DONE) | MHDR_INQUEUE);
        m_Queue[(m_nQueueHead + m_nQueued) % kMaxQueued] = header;
        ++m_nQueued;
        return MMSYSERR_NOERROR;
    }

    void Restart()
    {
        cAudioLock lock(*m_Device);
        m_bRunning = true;
    }

    void Pause()
    {
        cAudioLock lock(*m_Device);
        m_bRunning = false;
        for (int channel = 0; channel < kChannels; ++channel) {
            m_Sink->ShortMessage(0xB0 | channel | (123 << 8));  // all notes off
            m_Sink->ShortMessage(0xB0 | channel | (64 << 8));   // sustain off
        }
    }

    void Stop()
    {
        cAudioLock lock(*m_Device);
        StopLocked();
    }

    void Reset()
    {
        cAudioLock lock(*m_Device);
        StopLocked();
        m_Sink->Reset();
    }

    DWORD StopCount() const { return m_nStopCount.load(); }

    bool WaitCallbacks(std::chrono::milliseconds bound)
    {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (m_nNoticesDone.load() != m_nNoticesPushed.load()) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    void MixInto(float* out, int frames, int rate) override
    {
        // A callback that stops the stream and starts it again on every pass (the loop of a song
        // of no length) would replay its event for ever inside this block, holding the device
        // lock: once a callback of this block has stopped the stream, the next event that asks
        // for a callback waits for the next block.
        const DWORD stops = m_nStopCount.load();
        int done = 0;
        while (m_bRunning && NextEventDue()) {
            if (m_nStopCount.load() != stops && HeadEventCalls()) break;
            const std::int64_t wait = std::max<std::int64_t>(m_nDue - m_nClock, 0);
            if (wait >= frames - done) break;
            if (wait > 0) {
                m_Sink->Render(out + 2 * done, static_cast<int>(wait), rate);
                done += static_cast<int>(wait);
                m_nClock += wait;
            }
            PlayEvent();
        }
        if (done < frames) {
            m_Sink->Render(out + 2 * done, frames - done, rate);
            if (m_bRunning) m_nClock += frames - done;
        }
    }

    static bool ValidDivision(DWORD division)
    {
        if (division == 0 || division > 0xFFFF) return false;
        if (!(division & 0x8000)) return true;
        const int framesPerSecond = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
        return (division & 0xFF) != 0 &&
               (framesPerSecond == 24 || framesPerSecond == 25 || framesPerSecond == 29 || framesPerSecond == 30);
    }

private:
    struct cNotice {
        UINT msg;
        MIDIHDR* header;
        DWORD offset;
        DWORD stopCount;
    };

    // Everything below the thread's members is changed with the device locked.
    void StopLocked()
    {
        // A stop at the end of the queue (after the song's last event) lets the next start count
        // from that event, so that a song started again at its end keeps its period exactly.
        m_nBase = m_nQueued == 0 ? m_nLastDue : m_nClock;
        while (m_nQueued > 0) FinishHeader(false);
        m_bRunning = false;
        m_bDueValid = false;
        m_nFraction = 0;
        m_dwOffset = 0;
        m_dwTempo = kMidiDefaultTempo;
        for (int channel = 0; channel < kChannels; ++channel) {
            m_Sink->ShortMessage(0xB0 | channel | (123 << 8));  // all notes off
            m_Sink->ShortMessage(0xB0 | channel | (120 << 8));  // all sound off
            m_Sink->ShortMessage(0xB0 | channel | (64 << 8));   // sustain off
        }
        m_Sink->SoundOff();
        m_nStopCount.fetch_add(1);
    }

    // Samples for `ticks` at the current tempo and division, the remainder carried to the next
    // event so that times never drift.
    std::int64_t TicksToSamples(DWORD ticks)
    {
        Wide numerator, denominator;
        const Wide rate = static_cast<unsigned>(m_Device->Rate());
        if (m_dwTimeDiv & 0x8000) {
            const int framesPerSecond = -static_cast<int>(static_cast<std::int8_t>(m_dwTimeDiv >> 8));
            const unsigned ticksPerFrame = m_dwTimeDiv & 0xFF;
            // 29 stands for 29.97 frames a second (drop frame).
            numerator = framesPerSecond == 29 ? rate * 1001 : rate;
            denominator = framesPerSecond == 29 ? Wide{30000} * ticksPerFrame
                                                : Wide(framesPerSecond) * ticksPerFrame;
        } else {
            numerator = rate * m_dwTempo;
            denominator = Wide{1000000} * m_dwTimeDiv;
        }
        const Wide total = m_nFraction + numerator * ticks;
        m_nFraction = total % denominator;
        return static_cast<std::int64_t>(total / denominator);
    }

    // The due sample of the event at the head of the queue; false when nothing is queued.
    bool NextEventDue()
    {
        while (!m_bDueValid) {
            if (m_nQueued == 0) return false;
            const MIDIHDR* header = m_Queue[m_nQueueHead];
            if (header->dwBytesRecorded < kShortEventBytes || m_dwOffset > header->dwBytesRecorded - kShortEventBytes) {
                FinishHeader(true);
                continue;
            }
            m_nDue = m_nBase + TicksToSamples(ReadDword(header->lpData + m_dwOffset));
            m_bDueValid = true;
        }
        return true;
    }

    // Whether the event at the head of the queue (NextEventDue has found it) asks for a callback.
    bool HeadEventCalls() const
    {
        return (ReadDword(m_Queue[m_nQueueHead]->lpData + m_dwOffset + 8) & MEVT_F_CALLBACK) != 0;
    }

    void PlayEvent()
    {
        MIDIHDR* header = m_Queue[m_nQueueHead];
        const char* event = header->lpData + m_dwOffset;
        const DWORD field = ReadDword(event + 8);
        const DWORD offset = m_dwOffset;
        DWORD size = kShortEventBytes;
        if (field & MEVT_F_LONG) {
            const DWORD length = MevtEventParm(field);
            size += (length + 3) & ~DWORD{3};
            if (size > header->dwBytesRecorded - m_dwOffset) {
                FinishHeader(true);  // a long event cut by its buffer: the rest is not played
                return;
            }
            if (MevtEventType(field) == MEVT_LONGMSG && length > 0)
                m_Sink->LongMessage(reinterpret_cast<const std::uint8_t*>(event + kShortEventBytes), length);
        } else if (MevtEventType(field) == MEVT_TEMPO) {
            if (MevtEventParm(field) != 0) m_dwTempo = MevtEventParm(field);
        } else if (MevtEventType(field) == MEVT_SHORTMSG && (field & 0xFF) != 0xFF) {
            // Status FF is a system reset on the wire, and the player's end mark: never sent.
            m_Sink->ShortMessage(MevtEventParm(field));
        }
        m_nBase = m_nLastDue = m_nDue;
        m_bDueValid = false;
        m_dwOffset += size;
        const cNotice notice{MOM_POSITIONCB, header, offset, m_nStopCount.load()};
        // The buffer is handed back before the callback, which may fill it again.
        if (m_dwOffset >= header->dwBytesRecorded) FinishHeader(true);
        if (field & MEVT_F_CALLBACK) CallInMixer(notice);
    }

    // The callback may change the queue and the state: it is called only once this event is
    // done with, and MixInto reads everything afresh after it.
    void CallInMixer(const cNotice& notice)
    {
        if (!m_lpCallback) return;
        t_bInMixer = true;
        const BOOL handled = m_lpCallback(this, notice.msg, m_dwInstance, Param1(notice, m_MixerView), notice.stopCount);
        t_bInMixer = false;
        if (!handled) Notify(notice);
    }

    void FinishHeader(bool played)
    {
        MIDIHDR* header = m_Queue[m_nQueueHead];
        m_nQueueHead = (m_nQueueHead + 1) % kMaxQueued;
        --m_nQueued;
        m_dwOffset = 0;
        m_bDueValid = false;
        header->dwFlags.store((header->dwFlags.load() & ~MHDR_INQUEUE) | MHDR_DONE);
        if (played) Notify({MOM_DONE, header, header->dwBytesRecorded, m_nStopCount.load()});
    }

    // A position callback sees its event's offset in a view of the buffer that belongs to the
    // thread making the call: the mixer and the notice thread may report events of one buffer
    // at the same time, and neither may move the offset the other's callback is reading.
    static DWORD_PTR Param1(const cNotice& notice, MIDIHDR& view)
    {
        if (notice.msg != MOM_POSITIONCB) return reinterpret_cast<DWORD_PTR>(notice.header);
        view.lpData = notice.header->lpData;
        view.dwBufferLength = notice.header->dwBufferLength;
        view.dwBytesRecorded = notice.header->dwBytesRecorded;
        view.dwUser = notice.header->dwUser;
        view.dwOffset = notice.offset;
        return reinterpret_cast<DWORD_PTR>(&view);
    }

    // From the mixer: a lock-free ring and a semaphore, nothing that allocates or waits.
    void Notify(const cNotice& notice)
    {
        if (!m_lpCallback) return;
        const std::size_t written = m_nNoticeWritten.load(std::memory_order_relaxed);
        if (written - m_nNoticeRead.load(std::memory_order_acquire) == kNoticeCapacity) return;
        m_Notices[written % kNoticeCapacity] = notice;
        m_nNoticeWritten.store(written + 1, std::memory_order_release);
        m_nNoticesPushed.fetch_add(1);
        m_Wake.release();
    }

    void NoticeThread()
    {
        for (;;) {
            m_Wake.acquire();
            const std::size_t read = m_nNoticeRead.load(std::memory_order_relaxed);
            if (read == m_nNoticeWritten.load(std::memory_order_acquire)) {
                if (m_bQuit.load()) return;
                continue;
            }
            const cNotice notice = m_Notices[read % kNoticeCapacity];
            m_nNoticeRead.store(read + 1, std::memory_order_release);
            if (!m_bQuit.load()) m_lpCallback(this, notice.msg, m_dwInstance, Param1(notice, m_NoticeView), notice.stopCount);
            m_nNoticesDone.fetch_add(1);
        }
    }

    std::shared_ptr<cAudioDevice> m_Device;
    std::shared_ptr<cMidiSink> m_Sink;
    MIDICALLBACK m_lpCallback;
    DWORD_PTR m_dwInstance;
    MIDIHDR m_MixerView = {};    // used on the mixer's thread only
    MIDIHDR m_NoticeView = {};   // used on the notice thread only

    MIDIHDR* m_Queue[kMaxQueued] = {};
    int m_nQueueHead = 0;
    int m_nQueued = 0;
    DWORD m_dwOffset = 0;        // of the next event in the head buffer
    bool m_bRunning = false;
    DWORD m_dwTimeDiv = 96;
    DWORD m_dwTempo = kMidiDefaultTempo;
    std::int64_t m_nClock = 0;   // samples played while running
    std::int64_t m_nBase = 0;    // due sample of the previous event; deltas count from it
    std::int64_t m_nLastDue = 0;
    std::int64_t m_nDue = 0;
    bool m_bDueValid = false;
    Wide m_nFraction = 0;
    std::atomic<DWORD> m_nStopCount{0};

    cNotice m_Notices[kNoticeCapacity] = {};
    std::atomic<std::size_t> m_nNoticeWritten{0};
    std::atomic<std::size_t> m_nNoticeRead{0};
    std::atomic<std::size_t> m_nNoticesPushed{0};
    std::atomic<std::size_t> m_nNoticesDone{0};
    std::counting_semaphore<> m_Wake{0};
    std::atomic<bool> m_bQuit{false};
    std::thread m_Thread;
};

namespace {
// The open streams: a handle is the address of one of them.
std::vector<std::unique_ptr<cMidiStream>> s_Streams;
}  // namespace

const char* MidiStreamOpenError() { return s_strOpenError.c_str(); }

bool MidiCallbackInMixer() { return t_bInMixer; }

DWORD MidiStreamStopCount(HMIDISTRM stream) { return stream ? stream->StopCount() : 0; }

bool MidiStreamWaitCallbacks(HMIDISTRM stream, std::chrono::milliseconds bound)
{
    return stream && stream->WaitCallbacks(bound);
}

}  // namespace plat

using plat::cMidiStream;

MMRESULT midiStreamOpen(HMIDISTRM* stream, UINT* deviceId, DWORD streams, DWORD_PTR callback, DWORD_PTR instance,
                        DWORD flags)
{
    if (!stream) return MMSYSERR_INVALPARAM;
    *stream = nullptr;
    if (deviceId && *deviceId != MIDI_MAPPER && *deviceId != 0) return MMSYSERR_BADDEVICEID;
    if (streams != 1) return MMSYSERR_INVALPARAM;
    if (flags != CALLBACK_NULL && flags != CALLBACK_FUNCTION) return MMSYSERR_INVALFLAG;
    auto device = plat::AcquireAudioDevice();
    std::lock_guard<std::mutex> lock(plat::s_OpenMutex);
    if (!device) {
        plat::s_strOpenError = std::string("no audio device (") + plat::AudioDeviceError() + ")";
        return MMSYSERR_NODRIVER;
    }
    std::string error;
    auto sink = plat::MidiSinkForNewStreams(device->Rate(), &error);
    if (!sink) {
        plat::s_strOpenError = error;
        return MMSYSERR_NODRIVER;
    }
    if (std::find(plat::s_SinksInUse.begin(), plat::s_SinksInUse.end(), sink.get()) != plat::s_SinksInUse.end()) {
        plat::s_strOpenError = "another stream plays on the synthesiser";
        return MMSYSERR_ALLOCATED;
    }
    plat::s_SinksInUse.push_back(sink.get());
    auto* function = flags == CALLBACK_FUNCTION ? reinterpret_cast<MIDICALLBACK>(callback) : nullptr;
    plat::s_Streams.push_back(std::make_unique<cMidiStream>(std::move(device), std::move(sink), function, instance));
    *stream = plat::s_Streams.back().get();
    plat::s_strOpenError.clear();
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamClose(HMIDISTRM stream)
{
    std::unique_ptr<cMidiStream> owned;
    {
        std::lock_guard<std::mutex> lock(plat::s_OpenMutex);
        auto found = std::find_if(plat::s_Streams.begin(), plat::s_Streams.end(),
                                  [stream](const auto& open) { return open.get() == stream; });
        if (found == plat::s_Streams.end()) return MMSYSERR_INVALHANDLE;
        owned = std::move(*found);
        plat::s_Streams.erase(found);
    }
    owned.reset();  // waits for a callback in progress; not from the stream's own callback
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamProperty(HMIDISTRM stream, BYTE* property, DWORD flags)
{
    return stream ? stream->Property(property, flags) : MMSYSERR_INVALHANDLE;
}

MMRESULT midiOutPrepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT)
{
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (!header || !header->lpData) return MMSYSERR_INVALPARAM;
    header->dwFlags.fetch_or(MHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutUnprepareHeader(HMIDISTRM stream, MIDIHDR* header, UINT)
{
    if (!stream) return MMSYSERR_INVALHANDLE;
    if (!header) return MMSYSERR_INVALPARAM;
    if (header->dwFlags.load() & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
    header->dwFlags.fetch_and(~MHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamOut(HMIDISTRM stream, MIDIHDR* header, UINT)
{
    return stream ? stream->Out(header) : MMSYSERR_INVALHANDLE;
}

MMRESULT midiStreamRestart(HMIDISTRM stream)
{
    if (!stream) return MMSYSERR_INVALHANDLE;
    stream->Restart();
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamPause(HMIDISTRM stream)
{
    if (!stream) return MMSYSERR_INVALHANDLE;
    stream->Pause();
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamStop(HMIDISTRM stream)
{
    if (!stream) return MMSYSERR_INVALHANDLE;
    stream->Stop();
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutReset(HMIDISTRM stream)
{
    if (!stream) return MMSYSERR_INVALHANDLE;
    stream->Reset();
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutGetErrorTextA(MMRESULT error, char* text, UINT size)
{
    if (!text || size == 0) return MMSYSERR_INVALPARAM;
    const char* message = "unknown error";
    switch (error) {
    case MMSYSERR_NOERROR: message = "no error"; break;
    case MMSYSERR_ERROR: message = "unspecified error"; break;
    case MMSYSERR_BADDEVICEID: message = "no such MIDI device"; break;
    case MMSYSERR_ALLOCATED: message = "the synthesiser is in use by another stream"; break;
    case MMSYSERR_INVALHANDLE: message = "the stream is not open"; break;
    case MMSYSERR_NODRIVER: message = "no audio device or synthesiser"; break;
    case MMSYSERR_NOMEM: message = "too many buffers queued"; break;
    case MMSYSERR_INVALFLAG: message = "invalid flag"; break;
    case MMSYSERR_INVALPARAM: message = "invalid parameter"; break;
    case MIDIERR_UNPREPARED: message = "the buffer is not prepared"; break;
    case MIDIERR_STILLPLAYING: message = "the buffer is still queued"; break;
    default: break;
    }
    std::snprintf(text, size, "%s", message);
    return MMSYSERR_NOERROR;
}
