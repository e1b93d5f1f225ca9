#pragma once
// The descriptor of one integer parameter of an effect kind, a formation or a trajectory: the
// name shown for it and the range and default its value takes.
#include <cstdint>
#include <string>

struct cParamDesc {
    std::string label;      // "" for a parameter the kind does not have
    std::int16_t minimum = 0;
    std::int16_t maximum = 0;
    std::int16_t defaultValue = 0;

    // Fills the descriptor (a null label gives "") and returns it.
    cParamDesc& Set(const char* text, int min, int max, int def);
};

// A filled descriptor, for the tables.
cParamDesc MakeParamDesc(const char* label, int min, int max, int def);
// A parameter the kind does not have: "" and 0, 0, 0.
inline cParamDesc NoParam() { return cParamDesc{}; }

// The shorthand the parameter tables are written in: P(label, min, max, default), and N for a
// parameter the kind does not have.
namespace param_tables {
inline cParamDesc P(const char* label, int min, int max, int def) { return MakeParamDesc(label, min, max, def); }
inline const cParamDesc N = NoParam();
}  // namespace param_tables
