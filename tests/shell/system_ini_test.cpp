#include "shell/system_ini.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "shell/log.h"
#include "tests/support/temp_folder.h"

namespace {

// The boot-option list that the System data holds by default.
SYSTEMINIKEYS DefaultKeys()
{
    return SYSTEMINIKEYS{
        {"Direct3D", 2, ""}, {"WindowMode", 0, ""}, {"Bpp", 0, ""}, {"VSync", 2, ""},
        {"D3D_FontCache", 0, ""}, {"DD_FontCache", 1, ""}, {"DD_VideoStretch", 0, ""},
        {"ShowFps", 1, ""}, {"FreeStage", 0, ""}, {"English", 0, ""},
    };
}

// The settings as a list in field order, FreeStage last, to compare whole records.
struct Settings {
    int values[9];
    std::string freeStage;
    bool operator==(const Settings&) const = default;
};

Settings Of(const SYSTEMINI& ini)
{
    return {{ini.Direct3D, ini.WindowMode, ini.Bpp, ini.VSync, ini.D3D_FontCache, ini.DD_FontCache,
             ini.DD_VideoStretch, ini.ShowFps, ini.English},
            ini.FreeStage};
}

std::ostream& operator<<(std::ostream& out, const Settings& s)
{
    for (int v : s.values) out << v << ' ';
    return out << '"' << s.freeStage << '"';
}

// Defaults of the list above: Direct3D 2, WindowMode 0, Bpp 0, VSync 2, D3D_FontCache 0,
// DD_FontCache 1, DD_VideoStretch 0, ShowFps 1, English 0, FreeStage "".
Settings Defaults() { return {{2, 0, 0, 2, 0, 1, 0, 1, 0}, ""}; }

Settings With(int index, int value)
{
    Settings s = Defaults();
    s.values[index] = value;
    return s;
}

Settings WithStage(const std::string& stage)
{
    Settings s = Defaults();
    s.freeStage = stage;
    return s;
}

enum { D3D, WMODE, BPP, VSYNC, D3DFC, DDFC, DDVS, FPS, ENGLISH };

class SystemIniTest : public ::testing::Test {
protected:
    void SetUp() override { m_Folder.ChangeInto(); }

    // Reads text as "System.ini" over the defaults of keys.
    bool Read(const std::string& text, SYSTEMINI& ini, const SYSTEMINIKEYS& keys = DefaultKeys())
    {
        m_Folder.WriteFile("System.ini", text);
        plat::FlushPathCache();
        SetSystemIniDefaults(ini, keys);
        return ReadSystemIni("System.ini", ini, keys);
    }

    qbtest::cTempFolder m_Folder;
};

}  // namespace

TEST_F(SystemIniTest, FileContentsGiveTheSettingsAndTheResult)
{
    const std::string longKey(3000, 'K');
    const std::string longValue(3000, '1');
    const std::string value2047 = std::string(2046, '0') + "7";
    const std::string stage259(259, 's');
    const std::string stage260(260, 's');
    struct Case { const char* what; std::string text; bool ok; Settings settings; } cases[] = {
        {"exit line", "Direct3D=1\nExit\n", true, With(D3D, 1)},
        {"no exit: values read stay", "Direct3D=1\n", false, With(D3D, 1)},
        {"empty file", "", false, Defaults()},
        {"exit without line feed", "Direct3D=1\nExit", false, With(D3D, 1)},
        {"exit with carriage return", "Direct3D=1\r\nExit\r\n", true, With(D3D, 1)},
        {"blanks inside the exit key", "E x\tit\n", true, Defaults()},
        {"exit with a value is no exit", "Exit=1\n", false, Defaults()},
        {"NUL at a line start", std::string("Bpp=16\n\0Bpp=8\n", 15), true, With(BPP, 16)},
        {"NUL inside a key", std::string("Bp\0p=8\n", 7), true, Defaults()},
        {"blank after '='", "Direct3D= 1\nExit\n", true, With(D3D, 0)},
        {"blanks around '='", "Direct3D = 1\nExit\n", true, With(D3D, 0)},
        {"comment after a value", "Direct3D=1 /comment\nExit\n", true, With(D3D, 1)},
        {"slash ends a value", "Direct3D=1/comment\nExit\n", true, With(D3D, 1)},
        {"tab ends a value", "VSync=0\tx\nExit\n", true, With(VSYNC, 0)},
        {"slash at a line start", "/Direct3D=1\nExit\n", true, Defaults()},
        {"comment line", "/ Direct3D is 2\nExit\n", true, Defaults()},
        {"key names are case-sensitive", "direct3d=1\nExit\n", true, Defaults()},
        {"unknown key", "Colour=1\nExit\n", true, Defaults()},
        {"CRLF lines", "Bpp=16\r\nVSync=1\r\nExit\r\n", true, Settings{{2, 0, 16, 1, 0, 1, 0, 1, 0}, ""}},
        {"a carriage return stays in a text value", "FreeStage=ab\r\nExit\r\n", true, WithStage("ab\r")},
        {"number past int", "Bpp=99999999999\nExit\n", true, With(BPP, 2147483647)},
        {"number below int", "Bpp=-99999999999\nExit\n", true, With(BPP, -2147483647 - 1)},
        {"number with text after it", "Bpp=16bits\nExit\n", true, With(BPP, 16)},
        {"over-long key is dropped", longKey + "=1\nDirect3D=0\nExit\n", true, With(D3D, 0)},
        {"over-long value is dropped", "Direct3D=" + longValue + "\nBpp=8\nExit\n", true, With(BPP, 8)},
        {"longest value is kept", "Bpp=" + value2047 + "\nExit\n", true, With(BPP, 7)},
        {"file ends inside a value", "Bpp=8", false, Defaults()},
        {"one-character stage", "FreeStage=a\nExit\n", true, Defaults()},
        {"two-character stage", "FreeStage=ab\nExit\n", true, WithStage("ab")},
        {"259-character stage", "FreeStage=" + stage259 + "\nExit\n", true, WithStage(stage259)},
        {"260-character stage", "FreeStage=" + stage260 + "\nExit\n", true, Defaults()},
        {"later lines win", "Bpp=8\nBpp=16\nExit\n", true, With(BPP, 16)},
        {"nothing is read after exit", "Exit\nBpp=8\n", true, Defaults()},
        // A value ends at a blank, a tab, '/', a line feed or a NUL, and whatever follows it
        // on the line is read as an entry of its own.
        {"NUL ends a value and the reading goes on", std::string("Bpp=16\0VSync=1\nExit\n", 20), true,
         Settings{{2, 0, 16, 1, 0, 1, 0, 1, 0}, ""}},
        {"NUL right after '='", std::string("Direct3D=\0Exit\n", 15), true, With(D3D, 0)},
        {"NUL ends a value, then the file ends", std::string("Bpp=16\0", 7), false, With(BPP, 16)},
        {"an entry after a blank", "Bpp=8 VSync=1\nExit\n", true, Settings{{2, 0, 8, 1, 0, 1, 0, 1, 0}, ""}},
        {"an entry after a tab", "Bpp=8\tVSync=1\nExit\n", true, Settings{{2, 0, 8, 1, 0, 1, 0, 1, 0}, ""}},
        {"an entry after '/'", "Bpp=8/VSync=1\nExit\n", true, Settings{{2, 0, 8, 1, 0, 1, 0, 1, 0}, ""}},
        {"a comment after a blank is a key of its own", "Bpp=8 /VSync=1\nExit\n", true, With(BPP, 8)},
        {"exit after a blank ends the reading", "Bpp=8 Exit\nVSync=1\n", true, With(BPP, 8)},
        {"exit after '/' ends the reading", "Bpp=8/Exit\nVSync=1\n", true, With(BPP, 8)},
        {"a line feed ends the value", "Bpp=8\nVSync\n=1\nExit\n", true, With(BPP, 8)},
        {"empty value", "Direct3D=\nExit\n", true, With(D3D, 0)},
        {"blanks inside a key", "B p\tp=8\nExit\n", true, With(BPP, 8)},
        {"'=' inside a value", "Bpp=8=9\nExit\n", true, With(BPP, 8)},
        {"a carriage return before the number", "Bpp=\r16\nExit\n", true, With(BPP, 16)},
        {"file ends inside a key after a value", "Bpp=8 Exi", false, With(BPP, 8)},
    };
    for (const auto& c : cases) {
        SYSTEMINI ini{};
        EXPECT_EQ(Read(c.text, ini), c.ok) << c.what;
        EXPECT_EQ(Of(ini), c.settings) << c.what;
    }
}

TEST_F(SystemIniTest, EveryKeyFillsItsSetting)
{
    SYSTEMINI ini{};
    ASSERT_TRUE(Read("Direct3D=0\nWindowMode=2\nBpp=16\nVSync=1\nD3D_FontCache=3\nDD_FontCache=4\n"
                     "DD_VideoStretch=5\nShowFps=2\nFreeStage=stg\\Test.stg4_001\nEnglish=1\nExit\n",
                     ini));
    EXPECT_EQ(Of(ini), (Settings{{0, 2, 16, 1, 3, 4, 5, 2, 1}, "stg\\Test.stg4_001"}));
}

TEST_F(SystemIniTest, ThePositionInTheKeyListDecidesTheSetting)
{
    SYSTEMINIKEYS keys = DefaultKeys();
    keys[0].strKey = "Mode";
    keys[3].strKey = "";                         // an empty name matches no line
    keys.push_back({"Extra", 5, ""});            // positions from 10 on fill nothing
    keys.push_back({"Bpp", 0, ""});              // a second Bpp: the first equal name decides
    SYSTEMINI ini{};
    ASSERT_TRUE(Read("Mode=0\n=7\nExtra=9\nBpp=16\nDirect3D=1\nExit\n", ini, keys));
    Settings expected = With(D3D, 0);
    expected.values[BPP] = 16;
    EXPECT_EQ(Of(ini), expected);
}

TEST_F(SystemIniTest, DefaultsComeFromTheKeyListButEnglishIsOff)
{
    SYSTEMINIKEYS keys = DefaultKeys();
    for (int i = 0; i < 10; ++i) keys[i].nValue = 10 + i;
    keys[8].strValue = "stg\\Start.stg4_000";
    SYSTEMINI ini{};
    SetSystemIniDefaults(ini, keys);
    EXPECT_EQ(Of(ini), (Settings{{10, 11, 12, 13, 14, 15, 16, 17, 0}, "stg\\Start.stg4_000"}));

    keys[8].strValue = std::string(400, 'x');    // cut to the field, never past it
    SetSystemIniDefaults(ini, keys);
    EXPECT_EQ(std::strlen(ini.FreeStage), 259u);
}

TEST_F(SystemIniTest, TheReadingStopsWithSuccessAfter10000Entries)
{
    std::string lines;
    for (int i = 0; i < 9999; ++i) lines += "x\n";
    SYSTEMINI ini{};
    EXPECT_FALSE(Read(lines, ini));
    EXPECT_TRUE(Read(lines + "x\nBpp=8\n", ini));
    EXPECT_EQ(ini.Bpp, 0);   // the 10001st entry is never read
}

TEST_F(SystemIniTest, AMissingFileFails)
{
    SYSTEMINI ini{};
    SetSystemIniDefaults(ini, DefaultKeys());
    EXPECT_FALSE(ReadSystemIni("System.ini", ini, DefaultKeys()));
    EXPECT_EQ(Of(ini), Defaults());
}

namespace {
std::vector<std::string> g_Boxes;
int RecordBox(UINT, const char* textUtf8)
{
    g_Boxes.push_back(textUtf8);
    return 0;
}
}  // namespace

TEST_F(SystemIniTest, StartUpShowsTheBoxAndTakesTheDefaultsWhenTheReadingFails)
{
    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    plat::SetBoxesShownBySdl(false);
    plat::SetBoxAnswerSource(RecordBox);
    struct Restore { ~Restore() { plat::SetBoxAnswerSource(nullptr); } } restore;   // also when an ASSERT ends the test
    g_Boxes.clear();

    struct Case { const char* what; const char* text; bool ok; Settings settings; } cases[] = {
        {"good file", "Bpp=16\nExit\n", true, With(BPP, 16)},
        {"no exit", "Bpp=16\n", false, Defaults()},
        {"no file", nullptr, false, Defaults()},
    };
    for (const auto& c : cases) {
        g_Boxes.clear();
        if (c.text) m_Folder.WriteFile("System.ini", c.text);
        else std::filesystem::remove(m_Folder.Path() / "System.ini");
        plat::FlushPathCache();
        SYSTEMINI ini{};
        EXPECT_EQ(LoadSystemIni("System.ini", ini, DefaultKeys()), c.ok) << c.what;
        EXPECT_EQ(Of(ini), c.settings) << c.what;
        if (c.ok) {
            EXPECT_TRUE(g_Boxes.empty()) << c.what;
        } else {
            ASSERT_EQ(g_Boxes.size(), 1u) << c.what;
            EXPECT_EQ(g_Boxes[0], u8"System.ini の読み込みに失敗しました！") << c.what;
        }
    }
}

TEST_F(SystemIniTest, DamagedFilesEndTheReadingInOrder)
{
    const std::string good = "Direct3D=1\r\nWindowMode=1 / window\r\nFreeStage=stg\\a.stg4_000\r\n"
                             "Bpp=16\r\nExit\r\n";
    // Every prefix lacks the final line feed of "Exit", so none of them succeeds.
    for (std::size_t n = 0; n < good.size(); ++n) {
        SYSTEMINI ini{};
        EXPECT_FALSE(Read(good.substr(0, n), ini)) << n;
    }
    unsigned seed = 12345;
    auto next = [&seed] { seed = seed * 214013 + 2531011; return (seed >> 16) & 0x7FFF; };
    for (int i = 0; i < 300; ++i) {
        std::string damaged = good;
        for (int flips = 1 + next() % 4; flips > 0; --flips) {
            damaged[next() % damaged.size()] = static_cast<char>(next());
        }
        SYSTEMINI ini{};
        Read(damaged, ini);
        EXPECT_LT(std::strlen(ini.FreeStage), sizeof(ini.FreeStage)) << i;
    }
}
