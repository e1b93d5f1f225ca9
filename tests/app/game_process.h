#pragma once
// The game executable run as a child process, headless, with a runtime folder (for the
// single-instance lock and the editor's socket) and a working folder of its own.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace qbtest {

// How long a child may take to reach what a test waits for: a whole run of the game, which
// takes tens of seconds in the thread-sanitizer build on a busy machine.
constexpr std::chrono::milliseconds kChildBound{120000};

// One run of the executable in a working folder, with extra environment variables.
class cGameProcess {
public:
    cGameProcess(const qbtest::cTempFolder& runtime, const std::filesystem::path& folder,
                 std::vector<std::string> environment, std::vector<std::string> arguments = {})
    {
        environment.push_back("XDG_RUNTIME_DIR=" + runtime.Path().string());
        environment.push_back("SDL_VIDEODRIVER=dummy");
        environment.push_back("SDL_AUDIODRIVER=dummy");
        for (const char* keep : {"PATH", "HOME", "LANG"})
            if (const char* value = std::getenv(keep)) environment.push_back(std::string(keep) + "=" + value);
        m_Pid = fork();
        if (m_Pid == 0) {
            if (chdir(folder.c_str()) != 0) _exit(120);
            const int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (err >= 0) dup2(err, 2);
            std::vector<char*> env;
            for (std::string& e : environment) env.push_back(e.data());
            env.push_back(nullptr);
            std::vector<char*> argv{const_cast<char*>(QB_GAME_EXECUTABLE)};
            for (std::string& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            execve(QB_GAME_EXECUTABLE, argv.data(), env.data());
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

private:
    pid_t m_Pid = -1;
    int m_nStatus = 0;
    bool m_bReaped = false;
};

inline bool ExitedWith(int status, int code) { return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == code; }

}  // namespace qbtest
