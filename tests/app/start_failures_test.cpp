// Starts of the game executable that cannot go on, or that a leftover of an earlier run must
// not stop: each says what failed, in a box (on standard error, headless) and where it can in
// the report, and ends with the status scripts tell failures by.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/app/game_process.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::cGameProcess;

const char* const kLockFileName = u8"Quillbramwood-ゲーム.lock";

// The id of a process that has ended (and been reaped), as a leftover lock file would hold.
pid_t EndedProcessId()
{
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

class StartFailures : public ::testing::Test {
protected:
    // A working folder holding the demo game.
    std::filesystem::path DemoFolder(const std::string& name)
    {
        const std::filesystem::path folder = m_Work.Path() / name;
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(qbtest::WriteDemoGame(folder));
        return folder;
    }
    std::string ScriptVariable(const std::string& name, const std::string& text) const
    {
        m_Work.WriteFile(name, text);
        return "QUILLBRAMWOOD_SCRIPT=" + (m_Work.Path() / name).string();
    }
    std::string Errors(const std::string& folder) const { return m_Work.ReadFile(folder + "/stderr.txt"); }
    qbtest::cTempFolder m_Runtime;
    qbtest::cTempFolder m_Work;
};

TEST_F(StartFailures, ALeftoverLockFileOfAnEndedProcessDoesNotBlockTheStart)
{
    // Without a session folder the lock lives in a folder of the user's own inside the shared
    // temporary folder, where another user's file must not count either.
    qbtest::cTempFolder shared;
    ASSERT_EQ(chmod(shared.Path().c_str(), 01777), 0);
    const std::filesystem::path ownFolder = shared.Path() / ("quillbramwood-" + std::to_string(geteuid()));
    struct Case { const char* name; bool session; } cases[] = {
        {"session", true},
        {"no-session", false},
    };
    const std::string leftover = std::to_string(EndedProcessId()) + "\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::path lockFile = m_Runtime.Path() / kLockFileName;
        std::vector<std::string> environment = {ScriptVariable("close.txt", "clock virtual\nclose 30\n")};
        if (!c.session) {
            shared.WriteFile(kLockFileName, "1\n");   // another user's, in the shared folder
            ASSERT_EQ(chmod((shared.Path() / kLockFileName).c_str(), 0400), 0);
            std::filesystem::create_directory(ownFolder);
            ASSERT_EQ(chmod(ownFolder.c_str(), 0700), 0);
            lockFile = ownFolder / kLockFileName;
            environment.push_back("XDG_RUNTIME_DIR=");
            environment.push_back("TMPDIR=" + shared.Path().string());
        }
        m_Work.WriteFile("leftover", leftover);
        std::filesystem::copy_file(m_Work.Path() / "leftover", lockFile, std::filesystem::copy_options::overwrite_existing);

        cGameProcess game(m_Runtime, DemoFolder(c.name), environment);
        EXPECT_TRUE(game.Ends(0, "a run of 30 frames"));
        EXPECT_EQ(Errors(c.name).find(u8"二重起動"), std::string::npos) << Errors(c.name);
        EXPECT_NE(m_Work.ReadFile(std::string(c.name) + "/Report_Game.txt").find("\nMode : "), std::string::npos);
        // The game took that file's lock: it wrote its own id there and emptied it at the end.
        EXPECT_TRUE(std::filesystem::exists(lockFile));
        EXPECT_EQ(std::filesystem::file_size(lockFile), 0u);
    }
}

TEST_F(StartFailures, AStartThatCannotHoldTheLockSaysWhyAndEndsWithOne)
{
    const std::string question = u8"既に起動しています。";
    struct Case { const char* name; bool folderInPlace; const char* box; bool asked; } cases[] = {
        // Held by a process whose id the file does not hold: answering Yes ends nothing, and
        // the start must not go on without the lock.
        {"held", false, u8"プログラムの終了に失敗しました。", true},
        // No lock can be taken at all: not another instance, so nothing is asked.
        {"unusable", true, u8"二重起動を防ぐロックファイルが使えません。", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qbtest::cTempFolder runtime;
        const std::filesystem::path lockFile = runtime.Path() / kLockFileName;
        int held = -1;
        if (c.folderInPlace) {
            std::filesystem::create_directory(lockFile);
        } else {
            held = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            ASSERT_GE(held, 0);
            ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
        }
        cGameProcess game(runtime, DemoFolder(c.name),
                          {ScriptVariable("yes.txt", "box yes\nclock virtual\nclose 30\n")});
        EXPECT_TRUE(game.Ends(1, "the lock's box"));
        if (held >= 0) close(held);
        const std::string errors = Errors(c.name);
        EXPECT_NE(errors.find(c.box), std::string::npos) << errors;
        EXPECT_EQ(errors.find(question) != std::string::npos, c.asked) << errors;
        if (c.folderInPlace) {
            EXPECT_NE(errors.find(lockFile.string()), std::string::npos) << errors;
        }
        EXPECT_FALSE(m_Work.Exists(std::string(c.name) + "/Report_Game.txt")) << "the game never ran";
    }
}

TEST_F(StartFailures, AGameFolderThatCannotBeWrittenSaysSoAndWhere)
{
    struct Case { const char* name; mode_t folderMode; bool oldReport; } cases[] = {
        {"read-only", 0555, false},               // installed for all users
        {"read-only-old-report", 0555, true},     // with a report of the installer's run
        {"writable-old-report", 0777, true},      // the folder could be written, its report not
    };
    // The game runs as an ordinary user, who may enter the work folder and use the runtime one.
    ASSERT_EQ(chmod(m_Work.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(m_Runtime.Path().c_str(), 0777), 0);
    const std::string script = ScriptVariable("close.txt", "clock virtual\nclose 30\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        const std::filesystem::path folder = DemoFolder(name);
        m_Work.WriteFile(name + "/stderr.txt", "");
        ASSERT_EQ(chmod((folder / "stderr.txt").c_str(), 0666), 0);
        if (c.oldReport) {
            m_Work.WriteFile(name + "/Report_Game.txt", "old\n");
            ASSERT_EQ(chmod((folder / "Report_Game.txt").c_str(), 0444), 0);
        }
        ASSERT_EQ(chmod(folder.c_str(), c.folderMode), 0);
        cGameProcess game(m_Runtime, folder, {script}, {}, true);
        const bool ended = game.Ends(1, "the unwritable folder's box");
        ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
        EXPECT_TRUE(ended);
        const std::string errors = Errors(name);
        EXPECT_NE(errors.find("quillbramwood: cannot write in the game folder " + folder.string() +
                              " (Report_Game.txt: Permission denied)"),
                  std::string::npos)
            << errors;
        EXPECT_NE(errors.find("user_data/"), std::string::npos) << errors;
        EXPECT_NE(errors.find(u8"ゲームのフォルダに書き込めません。\n" + folder.string()), std::string::npos) << errors;
        EXPECT_EQ(m_Work.Exists(name + "/Report_Game.txt") ? m_Work.ReadFile(name + "/Report_Game.txt") : "",
                  c.oldReport ? "old\n" : "");
        EXPECT_FALSE(m_Work.Exists(name + "/user_data")) << "nothing was started";
    }
}

TEST_F(StartFailures, AStageNamedAtStartSaysWhatItLookedForOrEndsWithOneWhenItCannotStart)
{
    // base: the numbered files looked for (base_000..base_999, then the name itself) when no
    // file matches; the game then runs from its title. Otherwise the stage starts, or its
    // set-up fails with its box and the program ends with status 1.
    struct Case { const char* name; const char* argument; const char* base; const char* removed; int status; const char* box; } cases[] = {
        {"bare", "Meadow", "Meadow", nullptr, 0, nullptr},
        {"extension", "Meadow.stg4", "Meadow.stg4", nullptr, 0, nullptr},
        {"folder", "data/stg4/Meadow", "data/stg4/Meadow", nullptr, 0, nullptr},
        {"found", "data/stg4/Meadow.stg4", nullptr, nullptr, 0, nullptr},
        {"no-picture", "data/stg4/Meadow.stg4", nullptr, "bmp/Character1.bmp", 1, u8"bmp\\Character1.bmp の読み込みに失敗！"},
    };
    const std::string script = ScriptVariable("close.txt", "clock virtual\nclose 30\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        const std::filesystem::path folder = DemoFolder(name);
        if (c.removed) std::filesystem::remove(folder / c.removed);
        cGameProcess game(m_Runtime, folder, {script}, {c.argument});
        EXPECT_TRUE(game.Ends(c.status, "a run of 30 frames"));
        const std::string errors = Errors(name);
        const std::string report = m_Work.ReadFile(name + "/Report_Game.txt");
        const std::string argument = c.argument;
        if (c.base) {
            const std::string base = c.base;
            const std::string candidates = base + "_000.." + base + "_999";
            // The box on standard error (UTF-8) and the report line (CP932) name them.
            EXPECT_NE(errors.find(u8"「" + argument + u8"」の読み込みに失敗しました！\n探したファイル：" + candidates + u8"、" +
                                  argument + u8"\nゲームのフォルダ：" + folder.string()),
                      std::string::npos)
                << errors;
            EXPECT_NE(report.find("「" + argument + "」の読み込みに失敗しました！\n探したファイル：" + candidates + "、" + argument),
                      std::string::npos)
                << report;
            EXPECT_NE(errors.find("quillbramwood: no stage file " + candidates + " or " + argument + " in the game folder " +
                                  folder.string() + "."),
                      std::string::npos)
                << errors;
        } else {
            EXPECT_EQ(report.find("の読み込みに失敗しました！"), std::string::npos) << report;
        }
        if (c.box) {
            EXPECT_NE(errors.find(c.box), std::string::npos) << errors;
        } else if (!c.base) {
            EXPECT_EQ(errors, "") << "the stage played without a word";
        }
    }
}

TEST_F(StartFailures, WithoutASoundCardTheGameRunsSilentWithOneReportLineAndAQuietTerminal)
{
    // SDL's ALSA driver on a machine without a sound card (most test machines): ALSA's own
    // messages stay off the terminal. Where a card exists, nothing fails and nothing is said.
    cGameProcess game(m_Runtime, DemoFolder("alsa"),
                      {"SDL_AUDIODRIVER=alsa", ScriptVariable("close.txt", "clock virtual\nclose 30\n")});
    EXPECT_TRUE(game.Ends(0, "a run of 30 frames"));
    const std::string errors = Errors("alsa");
    EXPECT_EQ(errors.find("ALSA lib"), std::string::npos) << errors;
    const std::string report = m_Work.ReadFile("alsa/Report_Game.txt");
    std::size_t lines = 0;
    for (std::size_t at = report.find("\nSound : "); at != std::string::npos; at = report.find("\nSound : ", at + 1)) {
        ++lines;
        const std::string line = report.substr(at + 1, report.find('\n', at + 1) - at - 1);
        EXPECT_NE(line.find("the game runs without sound"), std::string::npos) << line;
    }
    EXPECT_LE(lines, 1u) << report;
}

}  // namespace
