#include "sound/midi.h"

#include <cstring>

#include "shell/log.h"

namespace {

constexpr DWORD kEventBytes = 12;

void WriteDword(char* at, DWORD value) { std::memcpy(at, &value, sizeof value); }
DWORD ReadDword(const char* at)
{
    DWORD value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

cMidi::cMidi(const char* path) : cMidiFile(path)
{
    if (HasImage()) Open();
}

cMidi::~cMidi()
{
    if (!HasImage()) return;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_bClosing = true;  // a callback that comes now does nothing
        Check("Reset", midiOutReset(m_hStream));
        for (MIDIHDR& header : m_Headers) Check("Unprepare", midiOutUnprepareHeader(m_hStream, &header, sizeof header));
    }
    // Not under the mutex: closing waits for a callback in progress, which takes it.
    if (m_hStream) Check("Close", midiStreamClose(m_hStream));
}

std::string cMidi::ErrorText(MMRESULT code)
{
    char text[512];
    midiOutGetErrorTextA(code, text, sizeof text);
    return text;
}

void cMidi::Check(const char* what, MMRESULT result)
{
    // Without a stream (no audio device) the song is silent: its Open line said why once.
    if (result != MMSYSERR_NOERROR && m_hStream)
        ReportLogEcho("Midi %s %s %s", m_strFileName.c_str(), what, ErrorText(result).c_str());
}

void cMidi::Open()
{
    m_nNextBuffer = 0;
    for (int i = 0; i < kBufferCount; ++i) {
        m_Blocks[i].assign(kBufferSize, 0);
        m_Headers[i].lpData = m_Blocks[i].data();
        m_Headers[i].dwBufferLength = kBufferSize;
        m_Headers[i].dwUser = static_cast<DWORD_PTR>(i);
    }
    UINT device = MIDI_MAPPER;
    const MMRESULT opened = midiStreamOpen(&m_hStream, &device, 1, reinterpret_cast<DWORD_PTR>(&cMidi::Callback),
                                           reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (opened != MMSYSERR_NOERROR) {
        m_hStream = nullptr;
        ReportLogEcho("Midi %s Open %s (%s)", m_strFileName.c_str(), ErrorText(opened).c_str(),
                      plat::MidiStreamOpenError());
    }
    MIDIPROPTIMEDIV division{sizeof division, DWORD{m_Image[kMidiImageDivision]} << 8 | m_Image[kMidiImageDivision + 1]};
    Check("Property", midiStreamProperty(m_hStream, reinterpret_cast<BYTE*>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV));
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_dwReadPosition = kMidiImageFirstEvent;
    m_nState = 0;
    QueueBuffer();
}

int cMidi::State()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_nState;
}

void cMidi::QueueBuffer()
{
    MIDIHDR& header = m_Headers[m_nNextBuffer];
    if (m_dwReadPosition >= ImageEnd() || (header.dwFlags.load() & MHDR_INQUEUE)) return;
    m_dwReadPosition += FillBuffer(m_dwReadPosition, header);
    Check("Prepare", midiOutPrepareHeader(m_hStream, &header, sizeof header));
    Check("Out", midiStreamOut(m_hStream, &header, sizeof header));
    m_nNextBuffer = (m_nNextBuffer + 1) % kBufferCount;
}

DWORD cMidi::FillBuffer(DWORD position, MIDIHDR& header)
{
    char* buffer = header.lpData;
    std::memset(buffer, 0, header.dwBufferLength);
    const BYTE* image = m_Image.data();
    const DWORD end = ImageEnd();
    DWORD at = position, written = 0;
    long lastEvent = -1;
    bool full = false;
    while (at < end) {
        DWORD delta = 0;
        const int deltaBytes = ReadVarLen(image + at, end - at, &delta);
        if (deltaBytes == 0) break;
        const DWORD event = at + deltaBytes;
        const BYTE status = image[event];
        // Bytes of the event in the image, and what it writes into the buffer.
        DWORD eventBytes = 3, field = 0, bytesOut = kEventBytes, longLength = 0, dataAt = 0;
        bool skip = false, endMark = false;
        if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            const DWORD lengthAt = event + (status == 0xFF ? 2 : 1);
            DWORD length = 0;
            const int lengthBytes = ReadVarLen(image + lengthAt, end - lengthAt, &length);
            dataAt = lengthAt + lengthBytes;
            eventBytes = dataAt + length - event;
            const BYTE type = image[event + 1];
            if (status != 0xFF) {
                longLength = length + 1;
                bytesOut = kEventBytes + ((longLength + 3) & ~DWORD{3});
                field = MEVT_F_LONG | (DWORD{MEVT_LONGMSG} << 24) | longLength;
                // Too long for an empty buffer: it could never be written, so it is passed over.
                skip = bytesOut > header.dwBufferLength;
            } else if (type == 0x2F) {
                field = kEndMark;
                endMark = true;
            } else if (type == 0x51 && length == 3) {
                field = (DWORD{MEVT_TEMPO} << 24) | (DWORD{image[event + 3]} << 16) | (DWORD{image[event + 4]} << 8) |
                        image[event + 5];
            } else {
                skip = true;
            }
        } else {
            eventBytes = (status >= 0xC0 && status <= 0xDF) ? 2 : 3;
            field = status | DWORD{image[event + 1]} << 8 | (eventBytes == 3 ? DWORD{image[event + 2]} << 16 : 0);
        }
        if (skip) {
            m_nCarriedDelta += delta;
            m_nFilledTicks += delta;
            at = event + eventBytes;
            continue;
        }
        if (bytesOut > header.dwBufferLength - written) {
            full = true;  // not consumed: it begins the next buffer, with the delta carried so far
            break;
        }
        // A run of passed-over events longer than a stream delta can hold is cut to the longest.
        const std::uint64_t total = m_nCarriedDelta + delta;
        WriteDword(buffer + written, total > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(total));
        WriteDword(buffer + written + 8, field);
        if (longLength > 0) {
            // The message as it goes out: its status byte, then its bytes without their length.
            buffer[written + kEventBytes] = static_cast<char>(status);
            std::memcpy(buffer + written + kEventBytes + 1, image + dataAt, longLength - 1);
        }
        m_nCarriedDelta = 0;
        m_nFilledTicks += delta;
        lastEvent = static_cast<long>(written);
        written += bytesOut;
        at = event + eventBytes;
        if (endMark) break;
    }
    if (full && lastEvent >= 0) WriteDword(buffer + lastEvent + 8, ReadDword(buffer + lastEvent + 8) | MEVT_F_CALLBACK);
    header.dwBytesRecorded = written;
    header.dwFlags.store(0);
    header.dwOffset = 0;
    header.lpNext = nullptr;
    header.reserved = 0;
    return at - position;
}

void cMidi::Play(int, int, int loop)
{
    if (!HasImage()) return;
    std::lock_guard<std::mutex> lock(m_Mutex);
    PlayLocked(loop);
}

void cMidi::PlayLocked(int loop)
{
    m_nLoop = loop;
    if (m_nState == 1) return;
    Check("Restart", midiStreamRestart(m_hStream));
    const int previous = m_nState;
    m_nState = 1;
    if (previous == 2) return;
    QueueBuffer();  // the second buffer joins the one queued at open or stop
}

void cMidi::Stop(int pause)
{
    if (!HasImage()) return;
    std::lock_guard<std::mutex> lock(m_Mutex);
    StopLocked(pause);
}

void cMidi::StopLocked(int pause)
{
    if (pause == 0) {
        Check("Stop", midiStreamStop(m_hStream));
        m_nState = 0;
        m_dwReadPosition = kMidiImageFirstEvent;
        m_nCarriedDelta = 0;
        m_nFilledTicks = 0;
        QueueBuffer();  // the first buffer of the song, ready for the next Play
    } else if (m_nState == 1) {
        Check("Pause", midiStreamPause(m_hStream));
        m_nState = 2;
    }
}

BOOL cMidi::Callback(HMIDISTRM, UINT msg, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR param2)
{
    if (msg != MOM_POSITIONCB) return TRUE;
    auto* self = reinterpret_cast<cMidi*>(instance);
    std::unique_lock<std::mutex> lock(self->m_Mutex, std::defer_lock);
    // In the mixer the player is served only when no other thread holds it; else on the
    // stream's thread, a moment later.
    if (plat::MidiCallbackInMixer()) {
        if (!lock.try_lock()) return FALSE;
    } else {
        lock.lock();
    }
    self->OnPosition(*reinterpret_cast<const MIDIHDR*>(param1), static_cast<DWORD>(param2));
    return TRUE;
}

// With the mutex held.
void cMidi::OnPosition(const MIDIHDR& header, DWORD stopCount)
{
    // An event played before the last stop belongs to a song position that is gone.
    if (m_bClosing || stopCount != plat::MidiStreamStopCount(m_hStream)) return;
    if (header.dwOffset + kEventBytes > header.dwBytesRecorded) return;
    if ((ReadDword(header.lpData + header.dwOffset + 8) & 0x00FFFFFF) == 0x002FFF) {
        // A song of no length has nothing to repeat: played again it would only strike its
        // instant on every block. Its loop is silence, and it stays playing.
        const bool noLength = m_nFilledTicks == 0;
        StopLocked(0);
        if (m_nLoop && noLength) m_nState = 1;
        else if (m_nLoop) PlayLocked(1);
    } else if (m_dwReadPosition < ImageEnd()) {
        QueueBuffer();
    }
}
