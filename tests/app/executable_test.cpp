// The game executable run as a child process, headless, each run with a runtime folder (for
// the single-instance lock and the editor's socket) and a working folder of its own, which
// holds the demo game unless a test says otherwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "data/database.h"
#include "tests/app/game_process.h"
#include "tests/support/demo_game.h"
#include "tests/support/stored_png.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace {

using qbtest::cGameProcess;
using qbtest::ExitedWith;
using qbtest::kChildBound;


std::string LockOwner(const qbtest::cTempFolder& runtime)
{
    const std::string name = u8"Quillbramwood-ゲーム.lock";
    return runtime.Exists(name) ? runtime.ReadFile(name) : "";
}

// Waits until the lock file names this process as its owner.
bool WaitForLockOwner(const qbtest::cTempFolder& runtime, pid_t pid)
{
    const std::string expected = std::to_string(pid) + "\n";
    return qbtest::WaitUntil([&] { return LockOwner(runtime) == expected; }, kChildBound);
}

// Waits until a file of the folder holds the text.
bool WaitForFileText(const qbtest::cTempFolder& folder, const std::string& file, const std::string& text)
{
    return qbtest::WaitUntil(
        [&] { return folder.Exists(file) && folder.ReadFile(file).find(text) != std::string::npos; }, kChildBound);
}

std::size_t CountOf(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

class Executable : public ::testing::Test {
protected:
    // A working folder holding the demo game.
    std::filesystem::path Folder(const char* name)
    {
        std::filesystem::path folder = EmptyFolder(name);
        EXPECT_TRUE(qbtest::WriteDemoGame(folder));
        return folder;
    }
    std::filesystem::path EmptyFolder(const char* name)
    {
        std::filesystem::path folder = m_Work.Path() / name;
        std::filesystem::create_directories(folder);
        return folder;
    }
    void WriteScript(const char* name, const std::string& text) const { m_Work.WriteFile(name, text); }
    std::string Script(const char* name) const { return "QUILLBRAMWOOD_SCRIPT=" + (m_Work.Path() / name).string(); }
    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
};

TEST_F(Executable, AScriptedRunClosesAfter120FramesAndEndsInOrder)
{
    WriteScript("close.txt", "clock virtual\neclog on\nclose 120\n");
    cGameProcess game(m_Runtime, Folder("game"), {Script("close.txt")});
    EXPECT_TRUE(ExitedWith(game.Wait(), 0));

    const std::string report = m_Work.ReadFile("game/Report_Game.txt");
    EXPECT_EQ(report.rfind("App : ver 692\n", 0), 0u) << report;
    for (const char* line : {"\nOS : ", "\nCPU : ", "\nMem Total : ", "\nMem Free : ", "\nVir Total : ",
                             "\nVir Free : ", "\nHD Free : "})
        EXPECT_NE(report.find(line), std::string::npos) << line;

    // The close sequence's lines, in order (the texts are the program's own, in CP932).
    const std::string log = m_Work.ReadFile("game/EC_Game.txt");
    std::size_t at = 0;
    std::size_t exitA = 0, exitD = 0;
    for (const char* line : {"G\n", "H\n", "DDInit成功\n", "1\n", "4\n", "I\n", "J\n", "WM_CLOSE 成功！\n", "thPause.Exit()\n", "Exit A\n",
                             "Exit B\n", "Exit C\n", "Exit D\n", "Exit E\n", "thGame.Exit()\n", "WM_DESTROY\n",
                             "UnInitGame後\n", "ReleaseMutex後\n"}) {
        const std::size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
        if (std::strcmp(line, "Exit A\n") == 0) exitA = found;
        if (std::strcmp(line, "Exit D\n") == 0) exitD = found;
        at = found + std::strlen(line);
    }
    // The game thread writes its line on its own, once WM_QUIT was posted and before it was
    // seen to end.
    const std::size_t quit = log.find("GameLoop WM_QUIT!\n");
    EXPECT_TRUE(quit != std::string::npos && quit > exitA && quit < exitD) << log;
    // The lock is given up at the end.
    EXPECT_EQ(LockOwner(m_Runtime), "");
}

TEST_F(Executable, AScriptedEscapeReachesTheMainWindowAndEndsTheGameThroughTheCloseSequence)
{
    WriteScript("escape.txt", "clock virtual\neclog on\nkeys 5 ESCAPE\n");
    cGameProcess game(m_Runtime, Folder("game"), {Script("escape.txt")});
    EXPECT_TRUE(ExitedWith(game.Wait(), 0));
    const std::string log = m_Work.ReadFile("game/EC_Game.txt");
    const std::size_t close = log.find("WM_CLOSE 成功！\n");
    ASSERT_NE(close, std::string::npos) << log;
    EXPECT_NE(log.find("WM_DESTROY\n", close), std::string::npos) << log;
    EXPECT_EQ(LockOwner(m_Runtime), "");
}

TEST_F(Executable, TheErrorCheckLogStaysOffUnlessSwitchedOn)
{
    WriteScript("close.txt", "clock virtual\nclose 3\n");
    cGameProcess game(m_Runtime, Folder("game"), {Script("close.txt")});
    EXPECT_TRUE(ExitedWith(game.Wait(), 0));
    EXPECT_FALSE(m_Work.Exists("game/EC_Game.txt"));
    EXPECT_TRUE(m_Work.Exists("game/Report_Game.txt"));
}

TEST_F(Executable, ABadScriptIsReportedAndNothingRuns)
{
    WriteScript("bad.txt", "close soon\n");
    cGameProcess game(m_Runtime, Folder("game"), {Script("bad.txt")});
    EXPECT_TRUE(ExitedWith(game.Wait(), 2));
    EXPECT_NE(m_Work.ReadFile("game/stderr.txt").find("line 1"), std::string::npos);
    EXPECT_FALSE(m_Work.Exists("game/Report_Game.txt"));
}

TEST_F(Executable, AWorkingFolderWithoutACp932NameIsRefusedWithAMessage)
{
    WriteScript("close.txt", "clock virtual\nclose 2\n");
    const char* name = u8"game\U0001F600";   // an emoji: no CP932 form
    cGameProcess game(m_Runtime, EmptyFolder(name), {Script("close.txt")});
    EXPECT_TRUE(ExitedWith(game.Wait(), 1));
    const std::string folder = name;
    EXPECT_NE(m_Work.ReadFile(folder + "/stderr.txt").find("CP932"), std::string::npos);
    EXPECT_FALSE(m_Work.Exists(folder + "/Report_Game.txt"));
    EXPECT_EQ(LockOwner(m_Runtime), "") << "the single instance is not claimed";
}

TEST_F(Executable, SigtermEndsTheGameThroughTheCloseSequence)
{
    WriteScript("trace.txt", "eclog on\n");
    cGameProcess game(m_Runtime, Folder("game"), {Script("trace.txt")});
    // Once the game thread runs, SDL has long turned SIGTERM into a close request.
    ASSERT_TRUE(WaitForFileText(m_Work, "game/EC_Game.txt", "\nJ\n"));
    kill(game.Pid(), SIGTERM);
    EXPECT_TRUE(ExitedWith(game.Wait(), 0));
    EXPECT_NE(m_Work.ReadFile("game/EC_Game.txt").find("WM_DESTROY\n"), std::string::npos);
}

TEST_F(Executable, ASecondStartAsksAndNoLeavesTheFirstRunning)
{
    WriteScript("no.txt", "box no\n");
    WriteScript("yes.txt", "box yes\n");

    cGameProcess first(m_Runtime, Folder("first"), {});
    ASSERT_TRUE(WaitForLockOwner(m_Runtime, first.Pid()));

    cGameProcess refused(m_Runtime, Folder("refused"), {Script("no.txt")});
    EXPECT_TRUE(ExitedWith(refused.Wait(), 0));
    EXPECT_NE(m_Work.ReadFile("refused/stderr.txt").find(u8"二重起動"), std::string::npos);
    EXPECT_TRUE(first.Alive());

    // The same game started again and answered No: the running game's report is left as it
    // was (the first may still add lines of its own, never lose any).
    ASSERT_TRUE(WaitForFileText(m_Work, "first/Report_Game.txt", "\nMode : "));
    const std::string reportBefore = m_Work.ReadFile("first/Report_Game.txt");
    cGameProcess again(m_Runtime, m_Work.Path() / "first", {Script("no.txt")});
    EXPECT_TRUE(ExitedWith(again.Wait(), 0));
    const std::string reportAfter = m_Work.ReadFile("first/Report_Game.txt");
    EXPECT_EQ(reportAfter.compare(0, reportBefore.size(), reportBefore), 0) << reportAfter;
    EXPECT_EQ(CountOf(reportAfter, "App : ver"), 1u) << reportAfter;
    EXPECT_TRUE(first.Alive());

    // Yes ends the first process and this one takes over.
    cGameProcess second(m_Runtime, Folder("second"), {Script("yes.txt")});
    const int firstStatus = first.Wait();
    ASSERT_NE(firstStatus, -1);
    EXPECT_TRUE(WIFSIGNALED(firstStatus) && WTERMSIG(firstStatus) == SIGKILL);
    ASSERT_TRUE(WaitForLockOwner(m_Runtime, second.Pid()));
    EXPECT_TRUE(second.Alive());

    // A third start finds the second.
    cGameProcess third(m_Runtime, Folder("third"), {Script("no.txt")});
    EXPECT_TRUE(ExitedWith(third.Wait(), 0));
    EXPECT_NE(m_Work.ReadFile("third/stderr.txt").find(u8"二重起動"), std::string::npos);
    EXPECT_TRUE(second.Alive());

    kill(second.Pid(), SIGTERM);
    EXPECT_TRUE(ExitedWith(second.Wait(), 0));
}

// The editor's window: a datagram socket of its name in the runtime folder.
class cEditorSocket {
public:
    explicit cEditorSocket(const qbtest::cTempFolder& runtime)
    {
        m_nFd = socket(AF_UNIX, SOCK_DGRAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = (runtime.Path() / "Quillbramwood_Editor").string();
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        m_bBound = bind(m_nFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~cEditorSocket() { close(m_nFd); }
    bool Bound() const { return m_bBound; }
    // The notices received so far: {dwData, value, pid} each.
    std::vector<std::vector<std::uint32_t>> Notices()
    {
        std::vector<std::vector<std::uint32_t>> notices;
        unsigned char buffer[64];
        ssize_t n;
        while ((n = recv(m_nFd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0) {
            std::vector<std::uint32_t> values;
            for (ssize_t i = 0; i + 4 <= n; i += 4)
                values.push_back(buffer[i] | buffer[i + 1] << 8 | buffer[i + 2] << 16 |
                                 static_cast<std::uint32_t>(buffer[i + 3]) << 24);
            notices.push_back(values);
        }
        return notices;
    }

private:
    int m_nFd = -1;
    bool m_bBound = false;
};

TEST_F(Executable, StartedByTheEditorItSendsTheStartAndEndNotices)
{
    cEditorSocket editor(m_Runtime);
    ASSERT_TRUE(editor.Bound());
    WriteScript("close.txt", "clock virtual\nclose 120\n");
    cGameProcess game(m_Runtime, Folder("game"), {Script("close.txt"), "QUILLBRAMWOOD_SHOWCMD=5"});
    EXPECT_TRUE(ExitedWith(game.Wait(), 0));
    const auto pid = static_cast<std::uint32_t>(game.Pid());
    EXPECT_EQ(editor.Notices(), (std::vector<std::vector<std::uint32_t>>{{1, 1, pid}, {0, 1, pid}}));
}

TEST_F(Executable, WithoutTheEditorNoNoticeIsSent)
{
    cEditorSocket editor(m_Runtime);
    ASSERT_TRUE(editor.Bound());
    WriteScript("close.txt", "clock virtual\nclose 2\n");
    cGameProcess game(m_Runtime, Folder("game"), {Script("close.txt")});
    EXPECT_TRUE(ExitedWith(game.Wait(), 0));
    EXPECT_TRUE(editor.Notices().empty());
}

TEST_F(Executable, StartedByTheEditorWithoutItsWindowRunsAsUsual)
{
    WriteScript("close.txt", "clock virtual\nclose 2\n");
    cGameProcess game(m_Runtime, Folder("game"), {Script("close.txt"), "QUILLBRAMWOOD_SHOWCMD=5"});
    EXPECT_TRUE(ExitedWith(game.Wait(), 0));
}

// Width and height from the header of a PNG file; {0, 0} for anything else.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& png)
{
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n", 8) != 0 || png.compare(12, 4, "IHDR") != 0) return {0, 0};
    auto bigEndian = [&png](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    return {bigEndian(16), bigEndian(20)};
}

TEST_F(Executable, AScriptedRunDumpsTheBackBufferOfAFrameAsA640By480Png)
{
    // The demo game's own System.ini (Direct3D in a window), or DirectDraw in a window and full
    // screen.
    struct Case { const char* folder; const char* systemIni; } cases[] = {
        {"direct3d", nullptr},
        {"directdraw-window", "Direct3D=0\nWindowMode=1\nExit\n"},
        {"directdraw-fullscreen", "Direct3D=0\nWindowMode=0\nExit\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::filesystem::path folder = Folder(c.folder);
        if (c.systemIni) m_Work.WriteFile(std::string(c.folder) + "/System.ini", c.systemIni);
        const std::string name = std::string(c.folder) + ".png";
        WriteScript("dump.txt", "clock virtual\ndump 3 " + (m_Work.Path() / name).string() + "\nclose 5\n");
        cGameProcess game(m_Runtime, folder, {Script("dump.txt")});
        EXPECT_TRUE(ExitedWith(game.Wait(), 0));
        ASSERT_TRUE(m_Work.Exists(name));
        EXPECT_EQ(PngSize(m_Work.ReadFile(name)), std::make_pair(640u, 480u));
    }
}

// The pixels (0xRRGGBB) of a PNG written by the runtime; empty for anything else.
std::vector<std::uint32_t> PngPixels(const std::string& png)
{
    const auto [width, height] = PngSize(png);
    return qbtest::StoredPngPixels(png, static_cast<int>(width), static_cast<int>(height));
}

TEST_F(Executable, TheFrameRateTextChangesOnlyItsOwnCornerOfTheFrame)
{
    // ShowFps 1: "FPS%2d(%2d)" in a window of the second font at (495, 463), sized to its nine
    // 16-pixel cells, with a frame of 1 around it; the same frame without it elsewhere.
    std::vector<std::uint32_t> frames[2];
    for (int showFps : {0, 1}) {
        const std::string name = "fps" + std::to_string(showFps);
        const std::filesystem::path folder = Folder(name.c_str());
        // The demo game's System.ini shows the text (ShowFps=1).
        std::string ini = m_Work.ReadFile(name + "/System.ini");
        const std::size_t at = ini.find("ShowFps=1\n");
        ASSERT_NE(at, std::string::npos) << ini;
        ini[at + 8] = static_cast<char>('0' + showFps);
        m_Work.WriteFile(name + "/System.ini", ini);
        WriteScript((name + ".txt").c_str(), "clock virtual\ndump 40 " + (m_Work.Path() / (name + ".png")).string() + "\nclose 41\n");
        cGameProcess game(m_Runtime, folder, {Script((name + ".txt").c_str())});
        ASSERT_TRUE(ExitedWith(game.Wait(), 0)) << m_Work.ReadFile(name + "/stderr.txt");
        frames[showFps] = PngPixels(m_Work.ReadFile(name + ".png"));
        ASSERT_EQ(frames[showFps].size(), 640u * 480u);
    }
    int differing = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            if (frames[0][static_cast<std::size_t>(y) * 640 + x] == frames[1][static_cast<std::size_t>(y) * 640 + x]) continue;
            ++differing;
            EXPECT_TRUE(x >= 494 && y >= 462) << x << "," << y;
        }
    EXPECT_GT(differing, 9 * 16);  // the window at least, and the text's glyphs on it
}

TEST_F(Executable, WithoutDataTheFirstRunAsksToCopyTheDefaultAndNoEndsTheProgram)
{
    const std::string question = u8"データが存在しません！デフォルトデータを作成しますか？";
    const std::string failure = u8"「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。";
    struct Case { const char* name; bool withDefault; const char* answer; bool asked; bool runs; } cases[] = {
        {"empty", false, "no", false, false},  // nothing to copy from: no question
        {"declined", true, "no", true, false},
        {"accepted", true, "yes", true, true},
    };
    for (const auto& c : cases) {
        const std::filesystem::path folder = EmptyFolder(c.name);
        if (c.withDefault) {
            ASSERT_TRUE(qbtest::WriteDemoGame(folder));
            std::filesystem::rename(folder / "data", folder / "default");
        }
        const std::string script = std::string(c.name) + ".txt";
        WriteScript(script.c_str(), std::string("box ") + c.answer + "\nclock virtual\nclose 3\n");
        cGameProcess game(m_Runtime, folder, {Script(script.c_str())});
        EXPECT_TRUE(ExitedWith(game.Wait(), c.runs ? 0 : 1)) << c.name;
        const std::string name = c.name;
        const std::string err = m_Work.ReadFile(name + "/stderr.txt");
        EXPECT_EQ(err.find(question) != std::string::npos, c.asked) << name << "\n" << err;
        EXPECT_EQ(err.find(failure) != std::string::npos, !c.runs) << name << "\n" << err;
        EXPECT_EQ(m_Work.Exists(name + "/data/System.dat"), c.runs) << name;
        EXPECT_EQ(m_Work.Exists(name + "/user_data"), c.runs) << name << ": no folder is made without data";
    }
}

TEST_F(Executable, AScreenModeThatIsRefusedShowsItsTextAndEnds)
{
    // The dummy display's desktop has 32 bits per pixel.
    const std::string windowText =
        u8"画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！";
    const std::string otherText = u8"画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！";
    struct Case { const char* name; const char* ini; const std::string* text; } cases[] = {
        {"window16", "WindowMode=1\nBpp=16\nExit\n", &windowText},
        {"window8", "Direct3D=0\nWindowMode=1\nBpp=8\nExit\n", &otherText},  // never 8 bits in a window
        {"full24", "WindowMode=0\nBpp=24\nExit\n", &otherText},
    };
    WriteScript("close.txt", "clock virtual\nclose 3\n");
    for (const auto& c : cases) {
        const std::string name = c.name;
        const std::filesystem::path folder = Folder(c.name);
        m_Work.WriteFile(name + "/System.ini", c.ini);
        cGameProcess game(m_Runtime, folder, {Script("close.txt")});
        EXPECT_TRUE(ExitedWith(game.Wait(), 1)) << name;
        const std::string err = m_Work.ReadFile(name + "/stderr.txt");
        EXPECT_EQ(CountOf(err, *c.text), 1u) << name << "\n" << err;
        EXPECT_EQ(m_Work.ReadFile(name + "/Report_Game.txt").find("\nMode : "), std::string::npos)
            << name << ": no graphics device was made";
    }
}

TEST_F(Executable, AFailedStartUpShowsTheStepsTextTellsTheEditorAndEnds)
{
    cEditorSocket editor(m_Runtime);
    ASSERT_TRUE(editor.Bound());
    // Each required file missing, empty, cut in half, or with a folder in its place: its box
    // (on standard error, headless, in UTF-8), its report line (in CP932), and exit status 1.
    enum { kRemoved, kEmpty, kHalf, kFolder };
    struct Case { std::string name; std::string file; int damage; std::string box; std::string report; };
    std::vector<Case> cases = {
        {"system", "data/System.dat", kRemoved, u8"data\\System.dat の読み込みに失敗…", "data\\System.dat の読み込みに失敗…"},
        {"system-empty", "data/System.dat", kEmpty, u8"data\\System.dat の読み込みに失敗…", "data\\System.dat の読み込みに失敗…"},
        {"system-half", "data/System.dat", kHalf, u8"data\\System.dat の読み込みに失敗…", "data\\System.dat の読み込みに失敗…"},
        {"palette", "bmp/plt/Palette.bmp", kRemoved, u8"bmp\\plt\\Palette.bmp の読み込みに失敗！", "bmp\\plt\\Palette.bmp の読み込みに失敗！"},
        {"palette-empty", "bmp/plt/Palette.bmp", kEmpty, u8"bmp\\plt\\Palette.bmp の読み込みに失敗！", "bmp\\plt\\Palette.bmp の読み込みに失敗！"},
        {"palette-half", "bmp/plt/Palette.bmp", kHalf, u8"bmp\\plt\\Palette.bmp の読み込みに失敗！", "bmp\\plt\\Palette.bmp の読み込みに失敗！"},
        {"palette-folder", "bmp/plt/Palette.bmp", kFolder, u8"bmp\\plt\\Palette.bmp の読み込みに失敗！", "bmp\\plt\\Palette.bmp の読み込みに失敗！"},
        {"debug", "bmp/Debug.bmp", kRemoved, u8"bmp\\Debug.bmp の読み込みに失敗！", "LoadImage Err bmp\\Debug.bmp"},
        {"debug-empty", "bmp/Debug.bmp", kEmpty, u8"bmp\\Debug.bmp の読み込みに失敗！", "LoadImage Err bmp\\Debug.bmp"},
        {"debug-half", "bmp/Debug.bmp", kHalf, u8"bmp\\Debug.bmp の読み込みに失敗！", "LoadImage Err bmp\\Debug.bmp"},
        {"world-map", "data/WorldMap.dat", kRemoved, u8"data\\WorldMap.dat のロードに失敗！", "data\\WorldMap.dat のロードに失敗！"},
        {"world-map-half", "data/WorldMap.dat", kHalf, u8"data\\WorldMap.dat のロードに失敗！", "data\\WorldMap.dat のロードに失敗！"},
        {"common-palette", "data/CommonPalette.cplt4", kRemoved, u8"data\\CommonPalette.cplt4 のロードに失敗！",
         "data\\CommonPalette.cplt4 のロードに失敗！"},
        {"common-palette-short", "data/CommonPalette.cplt4", kEmpty, u8"data\\CommonPalette.cplt4 のロードに失敗！",
         "data\\CommonPalette.cplt4 のロードに失敗！"},
        {"common-palette-half", "data/CommonPalette.cplt4", kHalf, u8"data\\CommonPalette.cplt4 のロードに失敗！",
         "data\\CommonPalette.cplt4 のロードに失敗！"},
    };
    // Every database file: its own box, then the start-up's.
    for (int file = 0; file < DATABASE_FILES; ++file) {
        std::string path = DatabasePath(file);
        const std::string shown = path;
        std::replace(path.begin(), path.end(), '\\', '/');
        const std::string stem = std::filesystem::path(path).stem().string();
        for (int damage : {kRemoved, kHalf})
            cases.push_back({"database-" + stem + (damage == kHalf ? "-half" : ""), path, damage,
                             shown + u8" のロードに失敗！", "データベースの読み込みに失敗…"});
    }
    WriteScript("close.txt", "eclog on\nclock virtual\nclose 3\n");
    for (const auto& c : cases) {
        const std::string& name = c.name;
        const std::filesystem::path folder = Folder(c.name.c_str());
        const std::string whole = c.damage == kHalf ? m_Work.ReadFile(name + "/" + c.file) : std::string();
        std::filesystem::remove(folder / c.file);
        if (c.damage == kEmpty) m_Work.WriteFile(name + "/" + c.file, "");
        if (c.damage == kHalf) m_Work.WriteFile(name + "/" + c.file, whole.substr(0, whole.size() / 2));
        if (c.damage == kFolder) std::filesystem::create_directories(folder / c.file);
        cGameProcess game(m_Runtime, folder, {Script("close.txt"), "QUILLBRAMWOOD_SHOWCMD=5"});
        EXPECT_TRUE(ExitedWith(game.Wait(), 1)) << name;
        const std::string errors = m_Work.ReadFile(name + "/stderr.txt");
        EXPECT_NE(errors.find(c.box), std::string::npos) << name;
        // Built with the sanitizers, the failed start ends as cleanly as a normal run.
        EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << name << "\n" << errors;
        EXPECT_EQ(errors.find("runtime error"), std::string::npos) << name << "\n" << errors;
        EXPECT_NE(m_Work.ReadFile(name + "/Report_Game.txt").find(c.report), std::string::npos) << name;
        EXPECT_EQ(m_Work.ReadFile(name + "/EC_Game.txt").find("\nI\n"), std::string::npos)
            << name << ": the game thread never started";
        const auto pid = static_cast<std::uint32_t>(game.Pid());
        EXPECT_EQ(editor.Notices(), (std::vector<std::vector<std::uint32_t>>{{1, 1, pid}, {0, 0, pid}})) << name;
    }
}

TEST_F(Executable, TheDemoGameReachesItsFramesWithEveryStartUpStepBuilt)
{
    WriteScript("close.txt", "clock virtual\nclose 30\n");
    cGameProcess game(m_Runtime, Folder("demo"), {Script("close.txt")});
    EXPECT_TRUE(ExitedWith(game.Wait(), 0));
    const std::string report = m_Work.ReadFile("demo/Report_Game.txt");
    EXPECT_NE(report.find("\nMode : Window\n"), std::string::npos) << report;
    // No piece of the program stands in any more.
    EXPECT_EQ(report.find("not built yet"), std::string::npos) << report;
}

TEST_F(Executable, AStageNamedAtStartThatCannotBeReadLeavesOneReportLineAndTheGameRuns)
{
    const std::string longName = std::string(300, 'a') + ".stg4";
    struct Case { const char* name; std::string argument; std::string line; } cases[] = {
        {"missing", "missing.stg4_001", "「missing.stg4_001」の読み込みに失敗しました！\n"},
        {"long", longName, "「" + longName + "」の読み込みに失敗しました！\n"},  // too long for a path
    };
    WriteScript("close.txt", "clock virtual\nclose 3\n");
    for (const auto& c : cases) {
        const std::string name = c.name;
        cGameProcess game(m_Runtime, Folder(c.name), {Script("close.txt")}, {c.argument});
        EXPECT_TRUE(ExitedWith(game.Wait(), 0)) << name;
        const std::string report = m_Work.ReadFile(name + "/Report_Game.txt");
        EXPECT_EQ(CountOf(report, c.line), 1u) << name << "\n" << report;
        EXPECT_NE(report.find("\nMode : "), std::string::npos) << name << ": the game started";
    }
}

// System.ini leaves the drawing mode to the player: the scripted answer picks DirectDraw and
// ticks the box; the next start asks no more (a dialog would have taken the Cancel answer);
// without the boot file the dialog asks again and Cancel ends the program with 0.
TEST_F(Executable, TheDrawingModeDialogChoosesOnceAndItsCancelEndsTheProgramWithZero)
{
    cEditorSocket editor(m_Runtime);
    ASSERT_TRUE(editor.Bound());
    const std::filesystem::path folder = Folder("game");
    m_Work.WriteFile("game/System.ini", "Direct3D=2\nWindowMode=1\nExit\n");
    WriteScript("choose.txt", u8"clock virtual\ndialog DirectDraw|次回からこのダイアログを表示しない\nclose 3\n");
    WriteScript("cancel.txt", u8"clock virtual\ndialog ゲーム中止\nclose 3\n");
    {
        cGameProcess game(m_Runtime, folder, {Script("choose.txt"), "QUILLBRAMWOOD_SHOWCMD=5"});
        EXPECT_TRUE(ExitedWith(game.Wait(), 0));
        const auto pid = static_cast<std::uint32_t>(game.Pid());
        EXPECT_EQ(editor.Notices(), (std::vector<std::vector<std::uint32_t>>{{1, 1, pid}, {0, 1, pid}}));
    }
    const std::string boot = m_Work.ReadFile("game/user_data/Boot.dat");
    ASSERT_GE(boot.size(), 16u);
    EXPECT_EQ(boot.substr(8, 8), std::string("\0\0\0\0\1\0\0\0", 8)) << "drawing mode 0, do not ask 1";
    EXPECT_EQ(m_Work.ReadFile("game/Report_Game.txt").find("Device HAL"), std::string::npos)
        << "no Direct3D device was made";
    {
        cGameProcess game(m_Runtime, folder, {Script("cancel.txt"), "QUILLBRAMWOOD_SHOWCMD=5"});
        EXPECT_TRUE(ExitedWith(game.Wait(), 0));
        const auto pid = static_cast<std::uint32_t>(game.Pid());
        EXPECT_EQ(editor.Notices(), (std::vector<std::vector<std::uint32_t>>{{1, 1, pid}, {0, 1, pid}}))
            << "no dialog: the game ran and closed";
    }
    std::filesystem::remove(folder / "user_data" / "Boot.dat");
    {
        cGameProcess game(m_Runtime, folder, {Script("cancel.txt"), "QUILLBRAMWOOD_SHOWCMD=5"});
        EXPECT_TRUE(ExitedWith(game.Wait(), 0));
        const auto pid = static_cast<std::uint32_t>(game.Pid());
        const auto notices = editor.Notices();
        ASSERT_FALSE(notices.empty());
        EXPECT_EQ(notices.back(), (std::vector<std::uint32_t>{0, 0, pid}));
        EXPECT_EQ(m_Work.ReadFile("game/stderr.txt").find(u8"失敗"), std::string::npos) << "Cancel shows no box";
    }
}

}  // namespace
