#pragma once
// The harness's trace lines, read back by the tests that run the executable.
#include <cstdint>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace qbtest {

// One trace line's fields by name.
using TRACELINE = std::map<std::string, std::string>;

inline std::vector<TRACELINE> ParseTrace(const std::string& text)
{
    std::vector<TRACELINE> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        TRACELINE fields;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            const std::size_t eq = word.find('=');
            if (eq != std::string::npos) fields[word.substr(0, eq)] = word.substr(eq + 1);
        }
        lines.push_back(fields);
    }
    return lines;
}

// A traced position or speed: the exact bits of the double, in hex.
inline double TracedDouble(const TRACELINE& line, const std::string& field)
{
    const std::uint64_t bits = std::stoull(line.at(field), nullptr, 16);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The first frame (from 1) whose stage-play state is `state`; 0 when none.
inline int FirstFrameInState(const std::vector<TRACELINE>& trace, const char* state)
{
    for (std::size_t f = 0; f < trace.size(); ++f)
        if (trace[f].count("state") && trace[f].at("state") == state) return static_cast<int>(f) + 1;
    return 0;
}

}  // namespace qbtest
