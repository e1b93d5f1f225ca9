#pragma once
// The game executable run as a child process, headless, with a runtime folder (for the
// single-instance lock and the editor's socket) and a working folder of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace qbtest {

// How long a child may take to reach what a test waits for: a whole run of the game, which
// takes seconds in the release build on a busy machine and several times as long in the
// sanitizers' builds.
constexpr std::chrono::milliseconds kChildBound{60000 * kSlowness};

// Whether a status of Wait is an exit with the code; when not, the message says how the run ended.
inline ::testing::AssertionResult ExitedWith(int status, int code)
{
    if (status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == code) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "expected an exit with " << code << " in the " << kBuildKind << " build: ";
    if (status == -1)
        return failure << "still running after " << kChildBound.count() / 1000 << " s (the release build's bound times "
                       << kSlowness << ")";
    if (WIFEXITED(status)) return failure << "exited with " << WEXITSTATUS(status);
    return failure << "ended by signal " << WTERMSIG(status);
}

// One run of the executable in a working folder, with extra environment variables.
class cGameProcess {
public:
    // An earlier entry of environment wins over the ones added here (XDG_RUNTIME_DIR= empty
    // counts as unset). ordinaryUser: when the tests run as root, the game runs as nobody, so
    // that file modes bind it as they bind a player (the folders it needs must let nobody in).
    // executable: this build's runtime, or another build's (a replay made by one build plays in
    // the other).
    cGameProcess(const qbtest::cTempFolder& runtime, const std::filesystem::path& folder,
                 std::vector<std::string> environment, std::vector<std::string> arguments = {},
                 bool ordinaryUser = false, const char* executable = QB_GAME_EXECUTABLE)
        : m_Folder(folder)
    {
        environment.push_back("XDG_RUNTIME_DIR=" + runtime.Path().string());
        environment.push_back("SDL_VIDEODRIVER=dummy");
        environment.push_back("SDL_AUDIODRIVER=dummy");
        // The sanitizers' options (their suppressions) hold for the game as for the tests.
        for (const char* keep : {"PATH", "HOME", "LANG", "ASAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"})
            if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
        m_Pid = fork();
        if (m_Pid == 0) {
            if (chdir(folder.c_str()) != 0) _exit(120);
            const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (err >= 0) dup2(err, 2);
            if (ordinaryUser && geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                _exit(122);
            std::vector<char*> env;
            for (std::string& e : environment) env.push_back(e.data());
            env.push_back(nullptr);
            std::vector<char*> argv{const_cast<char*>(executable)};
            for (std::string& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            execve(executable, argv.data(), env.data());
            _exit(121);
        }
    }
    ~cGameProcess()
    {
        if (m_Pid > 0 && !m_bReaped) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
    }
    pid_t Pid() const { return m_Pid; }
    // The exit status, or -1 when it has not ended within the bound.
    int Wait()
    {
        m_bReaped = qbtest::WaitUntil([&] { return waitpid(m_Pid, &m_nStatus, WNOHANG) == m_Pid; }, kChildBound);
        return m_bReaped ? m_nStatus : -1;
    }
    bool Alive() const { return !m_bReaped && kill(m_Pid, 0) == 0; }
    // Waits for the end of the run and says whether it exited with the code; when not, the
    // message names the step of the run waited for (what the game had to do before ending),
    // how it ended instead, and the end of what it wrote to stderr.
    ::testing::AssertionResult Ends(int code, const std::string& step)
    {
        const ::testing::AssertionResult ended = ExitedWith(Wait(), code);
        if (ended) return ended;
        std::ifstream errors(m_Folder / "stderr.txt", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(errors)), std::istreambuf_iterator<char>());
        constexpr std::size_t kTail = 4000;
        if (text.size() > kTail) text = "..." + text.substr(text.size() - kTail);
        return ::testing::AssertionFailure() << "waited for " << step << ", then " << ended.message() << "\nstderr:\n"
                                             << text;
    }

private:
    std::filesystem::path m_Folder;
    pid_t m_Pid = -1;
    int m_nStatus = 0;
    bool m_bReaped = false;
};

}  // namespace qbtest
