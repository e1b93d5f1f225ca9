#pragma once
// The events of a MIDI file as midicsv (Debian's independent MIDI parser) reads them, merged as
// the song plays: tracks laid end to end and sorted by time, stable, so that on equal times the
// lower track comes first, with one end of track at the latest track end. Each event is rebuilt
// as its bytes with the status byte first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/sound/midi_builder.h"
#include "tests/sound/midi_image.h"

namespace qbtest {

// Test-only Debian packages (installed by the test command): midicsv and two packages of MIDI
// songs, openttd-openmsx (format 1, many tracks and tempo changes) and planetblupi-music-midi
// (long songs).
inline const char* kMidiSongFolders[] = {"/usr/share/games/openttd/baseset/openmsx", "/usr/share/planetblupi/music"};

// Every .mid file of the two packages, sorted; a test fails with the package to install when a
// folder or midicsv is missing.
inline std::vector<std::string> PackagedMidiFiles()
{
    std::vector<std::string> files;
    for (const char* folder : kMidiSongFolders) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            std::string ext = entry.path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
            if (ext == ".mid") files.push_back(entry.path().string());
        }
        if (error) ADD_FAILURE() << folder << " is missing: install openttd-openmsx and planetblupi-music-midi";
    }
    std::sort(files.begin(), files.end());
    return files;
}

namespace midicsv_detail {

// Splits a CSV line of midicsv: fields separated by ", ", a quoted string kept whole (quotes
// doubled inside, other bytes as backslash and three octal digits, a backslash doubled).
inline std::vector<std::string> Fields(const std::string& line, bool* quoted)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    *quoted = false;
    while (at <= line.size()) {
        if (at < line.size() && line[at] == '"') {
            *quoted = true;
            std::string text;
            for (++at; at < line.size(); ++at) {
                if (line[at] == '"') {
                    if (at + 1 < line.size() && line[at + 1] == '"') {
                        text += '"';
                        ++at;
                        continue;
                    }
                    ++at;
                    break;
                }
                if (line[at] == '\\' && at + 1 < line.size() && line[at + 1] == '\\') {
                    text += '\\';
                    ++at;
                } else if (line[at] == '\\' && at + 3 < line.size()) {
                    text += static_cast<char>(std::strtol(line.substr(at + 1, 3).c_str(), nullptr, 8));
                    at += 3;
                } else {
                    text += line[at];
                }
            }
            fields.push_back(text);
            at = line.find(", ", at);
            at = at == std::string::npos ? line.size() + 1 : at + 2;
        } else {
            const std::size_t comma = line.find(", ", at);
            fields.push_back(line.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
            at = comma == std::string::npos ? line.size() + 1 : comma + 2;
        }
    }
    return fields;
}

inline std::string Bytes(const std::vector<std::string>& f, std::size_t from)
{
    std::string out;
    for (std::size_t i = from; i < f.size(); ++i) out += static_cast<char>(std::stoi(f[i]));
    return out;
}

}  // namespace midicsv_detail

// The merged events of a file by midicsv, with the time division in *division.
inline std::vector<cMidiEvent> MidicsvEvents(const std::string& path, int* division = nullptr)
{
    using namespace midicsv_detail;
    std::vector<cMidiEvent> events;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("midicsv '" + path + "' 2>&1").c_str(), "r"), pclose);
    if (!pipe) {
        ADD_FAILURE() << "cannot start midicsv: install midicsv";
        return events;
    }
    std::string text;
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0) text.append(chunk, got);
    if (text.find("Header") == std::string::npos) {
        ADD_FAILURE() << "midicsv gave no events for " << path << " (install midicsv): " << text.substr(0, 200);
        return events;
    }
    std::uint64_t songEnd = 0;
    std::istringstream lines(text);
    std::string line;
    const char* textTypes[] = {"", "Text_t", "Copyright_t", "Title_t", "Instrument_name_t", "Lyric_t", "Marker_t",
                               "Cue_point_t"};
    auto meta = [](int type, const std::string& data) { return Meta(type, data); };
    while (std::getline(lines, line)) {
        bool quoted = false;
        const std::vector<std::string> f = Fields(line, &quoted);
        if (f.size() < 3) continue;
        const std::uint64_t time = std::stoull(f[1]);
        const std::string& type = f[2];
        auto channel = [&](int status) { return static_cast<char>(status | std::stoi(f[3])); };
        std::string bytes;
        if (type == "Header") {
            if (division) *division = std::stoi(f[5]);
            continue;
        } else if (type == "Start_track" || type == "End_of_file") {
            continue;
        } else if (type == "End_track") {
            songEnd = std::max(songEnd, time);
            continue;
        } else if (type == "Note_on_c") {
            bytes = std::string(1, channel(0x90)) + Bytes(f, 4);
        } else if (type == "Note_off_c") {
            bytes = std::string(1, channel(0x80)) + Bytes(f, 4);
        } else if (type == "Poly_aftertouch_c") {
            bytes = std::string(1, channel(0xA0)) + Bytes(f, 4);
        } else if (type == "Control_c") {
            bytes = std::string(1, channel(0xB0)) + Bytes(f, 4);
        } else if (type == "Program_c") {
            bytes = std::string(1, channel(0xC0)) + Bytes(f, 4);
        } else if (type == "Channel_aftertouch_c") {
            bytes = std::string(1, channel(0xD0)) + Bytes(f, 4);
        } else if (type == "Pitch_bend_c") {
            const int value = std::stoi(f[4]);
            bytes = {channel(0xE0), static_cast<char>(value & 0x7F), static_cast<char>(value >> 7)};
        } else if (type == "Tempo") {
            bytes = Tempo(static_cast<std::uint32_t>(std::stoul(f[3])));
        } else if (type == "Time_signature") {
            bytes = meta(0x58, Bytes(f, 3));
        } else if (type == "Key_signature") {
            bytes = meta(0x59, std::string{static_cast<char>(std::stoi(f[3])), static_cast<char>(f[4] == "minor")});
        } else if (type == "MIDI_port") {
            bytes = meta(0x21, Bytes(f, 3));
        } else if (type == "Channel_prefix") {
            bytes = meta(0x20, Bytes(f, 3));
        } else if (type == "Sequence_number") {
            bytes = meta(0x00, BigEndian(std::stoul(f[3]), 2));
        } else if (type == "SMPTE_offset") {
            bytes = meta(0x54, Bytes(f, 3));
        } else if (type == "Sequencer_specific") {
            bytes = meta(0x7F, Bytes(f, 4));
        } else if (type == "Unknown_meta_event") {
            bytes = meta(std::stoi(f[3]), Bytes(f, 5));
        } else if (type == "System_exclusive") {
            bytes = Sysex(Bytes(f, 4));
        } else if (type == "System_exclusive_packet") {
            bytes = "\xF7" + Vlq(static_cast<std::uint32_t>(f.size() - 4)) + Bytes(f, 4);
        } else {
            const auto known = std::find(std::begin(textTypes) + 1, std::end(textTypes), type);
            if (known == std::end(textTypes) || !quoted) {
                ADD_FAILURE() << "midicsv record not known to the test: " << line;
                continue;
            }
            bytes = meta(static_cast<int>(known - std::begin(textTypes)), f[3]);
        }
        events.push_back({time, bytes});
    }
    // midicsv lists the tracks one after the other: a stable sort merges them.
    std::stable_sort(events.begin(), events.end(), [](const cMidiEvent& a, const cMidiEvent& b) { return a.time < b.time; });
    events.push_back({songEnd, std::string("\xFF\x2F\x00", 3)});
    return events;
}

}  // namespace qbtest
