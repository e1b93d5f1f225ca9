#pragma once
// A text listing of a record, one field a line ("m_Texts[3] = "ハイスコア""), in UTF-8 for
// a terminal: what the data tool prints to inspect a file.
#include <cstdint>
#include <string>

#include "shell/safe_container.h"

class cDataDump {
public:
    explicit cDataDump(std::string& out) : m_Out(out) {}

    void Int(const char* name, std::int64_t value);
    // CP932 text, quoted, with control characters, quotes and backslashes escaped.
    void Text(const char* name, const std::string& cp932);

    template <class T>
    void Values(const char* name, const cSafeVector<T>& list)
    {
        Count(name, list.size());
        for (std::size_t i = 0; i < list.size(); ++i) Int(Indexed(name, i).c_str(), static_cast<std::int64_t>(list[i]));
    }
    void Strings(const char* name, const cSafeVector<std::string>& list);
    // Each element's fields under "name[i].", listed by dumpElement(element, *this).
    template <class T, class F>
    void Records(const char* name, const cSafeVector<T>& list, F dumpElement)
    {
        Count(name, list.size());
        const std::string outer = m_strPrefix;
        for (std::size_t i = 0; i < list.size(); ++i) {
            m_strPrefix = outer + Indexed(name, i) + ".";
            dumpElement(list[i], *this);
        }
        m_strPrefix = outer;
    }

private:
    void Count(const char* name, std::size_t count);
    static std::string Indexed(const char* name, std::size_t i);

    std::string& m_Out;
    std::string m_strPrefix;
};
