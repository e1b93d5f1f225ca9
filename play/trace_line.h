#pragma once
// The parts of a harness trace line: `name=value` fields separated by blanks, each concern of
// the stage writing its own (stage_trace.cpp lists them in their fixed order).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class cHero;
class cPlayScene;

// What a field writer may read about the frame being traced. Without a running stage and its
// player, scene and hero are null and only the fields that exist then are written.
struct TRACEFRAME {
    int frame;                       // the harness's frame number
    const std::vector<int>& sounds;  // the sound-table entries asked for in the frame
    const std::vector<std::pair<int, int>>& bgm;  // the BGM requests of the frame: screen, number
    const cPlayScene* scene;
    const cHero* hero;               // player 1
};

class cTraceLine {
public:
    // name=value in decimal.
    void Add(const char* name, long long value);
    // name=value in lower-case hex, zero-padded to digits.
    void AddHex(const char* name, std::uint64_t value, int digits);
    // The exact bits of a double, as 16 hex digits.
    void AddBits(const char* name, double value);
    void AddText(const char* name, const std::string& text);

    const std::string& Text() const { return m_strText; }

private:
    void Name(const char* name);

    std::string m_strText;
};

// The exact bits of a double, as the trace shows and hashes them.
std::uint64_t TraceBits(double value);

// A concern's fields of the line.
using TRACEFIELDS = void (*)(cTraceLine& line, const TRACEFRAME& frame);
