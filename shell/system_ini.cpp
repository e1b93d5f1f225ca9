#include "shell/system_ini.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/os/files.h"
#include "shell/log.h"

SYSTEMINI g_SystemIni{};

namespace {

constexpr std::size_t kTextMax = 2047;   // longest key or value kept
constexpr int kMaxEntries = 10000;       // passes of the reader, tails after values included

int* IntField(SYSTEMINI& ini, int position)
{
    switch (position) {
    case SIK_DIRECT3D: return &ini.Direct3D;
    case SIK_WINDOWMODE: return &ini.WindowMode;
    case SIK_BPP: return &ini.Bpp;
    case SIK_VSYNC: return &ini.VSync;
    case SIK_D3D_FONTCACHE: return &ini.D3D_FontCache;
    case SIK_DD_FONTCACHE: return &ini.DD_FontCache;
    case SIK_DD_VIDEOSTRETCH: return &ini.DD_VideoStretch;
    case SIK_SHOWFPS: return &ini.ShowFps;
    case SIK_ENGLISH: return &ini.English;
    default: return nullptr;
    }
}

void CopyFreeStage(SYSTEMINI& ini, const std::string& text)
{
    std::snprintf(ini.FreeStage, sizeof(ini.FreeStage), "%s", text.c_str());
}

// atoi, but a number beyond the range of int stops at its end instead of being undefined.
int BoundedAtoi(const std::string& text)
{
    const char* p = text.c_str();
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// A key or value being collected; what goes past the buffer's size makes the entry void.
struct Text {
    std::string str;
    bool bTooLong = false;
    void Add(int c)
    {
        if (str.size() < kTextMax) str.push_back(static_cast<char>(c));
        else bTooLong = true;
    }
};

void ApplyEntry(SYSTEMINI& ini, const SYSTEMINIKEYS& keys, const std::string& key, const std::string& value)
{
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string& name = keys[i].strKey;
        if (name.empty() || std::strcmp(name.c_str(), key.c_str()) != 0) continue;
        const int position = static_cast<int>(i);
        if (position == SIK_FREESTAGE) {
            if (value.size() >= 2 && value.size() < sizeof(ini.FreeStage)) CopyFreeStage(ini, value);
        } else if (int* field = IntField(ini, position)) {
            *field = BoundedAtoi(value);
        }
        return;   // the first equal name decides, even one that fills nothing
    }
}

enum class Step { Entry, Success, Failure };

// One pass: a key up to '=' (then a value) or up to a line feed.
Step ReadEntry(FILE* file, SYSTEMINI& ini, const SYSTEMINIKEYS& keys)
{
    Text key;
    int c;
    for (;;) {
        c = std::fgetc(file);
        if (c == EOF) return Step::Failure;
        if (c == '\0') return Step::Success;
        if (c == '\r' || c == ' ' || c == '\t') continue;
        if (c == '=' || c == '\n') break;
        key.Add(c);
    }
    if (c == '\n') return !key.bTooLong && key.str == "Exit" ? Step::Success : Step::Entry;

    // A value ends at a blank, a tab, '/', a line feed or a NUL; what follows a blank or '/'
    // is read as the next entry. A carriage return stays in the value.
    Text value;
    for (;;) {
        c = std::fgetc(file);
        if (c == EOF) return Step::Failure;
        if (c == ' ' || c == '\t' || c == '/' || c == '\n' || c == '\0') break;
        value.Add(c);
    }
    if (!key.bTooLong && !value.bTooLong) ApplyEntry(ini, keys, key.str, value.str);
    return Step::Entry;
}

}  // namespace

void SetSystemIniDefaults(SYSTEMINI& ini, const SYSTEMINIKEYS& keys)
{
    for (int position = SIK_DIRECT3D; position <= SIK_SHOWFPS; ++position) {
        *IntField(ini, position) = keys.At(position).nValue;
    }
    CopyFreeStage(ini, keys.At(SIK_FREESTAGE).strValue);
    ini.English = 0;   // only a line in the file turns it on
}

bool ReadSystemIni(const char* path, SYSTEMINI& ini, const SYSTEMINIKEYS& keys)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(plat::OpenRegularFile(path), std::fclose);
    if (!file) return false;
    for (int pass = 0; pass < kMaxEntries; ++pass) {
        switch (ReadEntry(file.get(), ini, keys)) {
        case Step::Entry: break;
        case Step::Success: return true;
        case Step::Failure: return false;
        }
    }
    return true;
}

bool LoadSystemIni(const char* path, SYSTEMINI& ini, const SYSTEMINIKEYS& keys)
{
    SetSystemIniDefaults(ini, keys);
    if (ReadSystemIni(path, ini, keys)) return true;
    ReportLogBox("System.ini の読み込みに失敗しました！");
    SetSystemIniDefaults(ini, keys);
    return false;
}
