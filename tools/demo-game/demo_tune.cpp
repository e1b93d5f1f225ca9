// The demo tune: a few notes written both as a Standard MIDI file and as an Ogg Vorbis file.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdint>

#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_pitch.h"

namespace {

// The tune: {MIDI note, length in sixteenths}; 0 is a rest.
struct NOTE {
    int key;
    int sixteenths;
};
constexpr NOTE kTune[] = {
    {72, 2}, {76, 2}, {79, 2}, {84, 4}, {0, 2}, {79, 2}, {81, 2}, {79, 2}, {76, 2}, {72, 4},
};
constexpr int kSixteenthTicks = 120;      // at 480 ticks to the quarter note
constexpr int kSixteenthSamples = 2756;   // 125 ms at 120 quarter notes a minute

void PutU32BigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// A MIDI variable-length number.
void PutVarLen(std::string& out, std::uint32_t value)
{
    char bytes[5];
    int n = 0;
    bytes[n++] = static_cast<char>(value & 0x7F);
    while ((value >>= 7) != 0) bytes[n++] = static_cast<char>(0x80 | (value & 0x7F));
    while (n > 0) out += bytes[--n];
}

// The tune as float samples: a soft square wave per note.
std::vector<float> TuneSamples()
{
    std::vector<float> samples;
    for (const NOTE& note : kTune) {
        const int length = note.sixteenths * kSixteenthSamples;
        int phase = 0;
        float level = 0.25f;
        for (int i = 0; i < length; ++i) {
            if (note.key == 0) {
                samples.push_back(0.0f);
                continue;
            }
            if (++phase >= HalfPeriod(note.key)) phase = 0, level = -level;
            const float fade = static_cast<float>(length - i) / static_cast<float>(length);
            samples.push_back(level * fade);
        }
    }
    return samples;
}

void AppendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
}

// The tune as a one-track MIDI file.
std::string MidiTune()
{
    std::string track;
    // Tempo 500000 us a quarter note, then the square-lead programme on channel 1.
    track += std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7);
    track += std::string("\x00\xC0\x50", 3);
    int rest = 0;
    for (const NOTE& note : kTune) {
        const int ticks = note.sixteenths * kSixteenthTicks;
        if (note.key == 0) {
            rest += ticks;
            continue;
        }
        PutVarLen(track, static_cast<std::uint32_t>(rest));
        track += '\x90';
        track += static_cast<char>(note.key);
        track += '\x64';
        PutVarLen(track, static_cast<std::uint32_t>(ticks));
        track += '\x80';
        track += static_cast<char>(note.key);
        track += '\x40';
        rest = 0;
    }
    track += std::string("\x00\xFF\x2F\x00", 4);
    std::string file = "MThd";
    PutU32BigEndian(file, 6);
    file += std::string("\x00\x00\x00\x01\x01\xE0", 6);  // format 0, one track, 480 ticks
    file += "MTrk";
    PutU32BigEndian(file, static_cast<std::uint32_t>(track.size()));
    return file + track;
}

// The tune rendered as an Ogg Vorbis file; empty, with the reason in error, when the encoder
// fails.
std::string OggTune(std::string& error)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, kDemoSampleRate, 0.1f) != 0) {
        vorbis_info_clear(&info);
        error = "the Ogg encoder refuses 22050 Hz mono";
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);  // a fixed serial number keeps the file the same on every run

    std::string file;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(file, page);

    // Each chunk of samples is analysed as it is written; a write of 0 samples ends the stream.
    auto drain = [&]() {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) AppendPage(file, page);
            }
        }
    };
    const std::vector<float> samples = TuneSamples();
    constexpr std::size_t kChunk = 1024;
    for (std::size_t start = 0; start < samples.size(); start += kChunk) {
        const std::size_t n = std::min(kChunk, samples.size() - start);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        for (std::size_t i = 0; i < n; ++i) buffer[0][i] = samples[start + i];
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(file, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return file;
}

}  // namespace

void AddDemoTune(DEMOGAME& game)
{
    game.files.push_back({"bgm\\Title.mid", MidiTune()});
    std::string error;
    const std::string ogg = OggTune(error);
    if (ogg.empty()) game.error = error;
    game.files.push_back({"bgm\\Title.ogg", ogg});
}
