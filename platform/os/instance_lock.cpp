#include "platform/os/instance_lock.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "platform/os/text.h"

namespace plat {

namespace {

// The session's runtime folder, which the system makes for this user alone; null when unset.
const char* SessionRuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return (runtime && *runtime) ? runtime : nullptr;
}

std::string SystemError(const std::string& path) { return path + ": " + std::strerror(errno); }

}  // namespace

std::string cInstanceLock::Folder()
{
    if (const char* runtime = SessionRuntimeFolder()) return runtime;
    const char* temporary = std::getenv("TMPDIR");
    const std::string base = (temporary && *temporary) ? temporary : "/tmp";
    return base + "/quillbramwood-" + std::to_string(::geteuid());
}

// Without a session folder, ours is made in the shared temporary folder: it must be a real
// folder of this user that nobody else can write into, or another user could plant a lock
// file there (a false "already running") or a link to a file of ours.
bool cInstanceLock::PrepareFolder()
{
    if (SessionRuntimeFolder()) return true;
    const std::string folder = Folder();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        m_strProblem = SystemError(folder);
        return false;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        m_strProblem = SystemError(folder);
        return false;
    }
    struct stat info{};
    bool usable = ::fstat(fd, &info) == 0;
    if (!usable) m_strProblem = SystemError(folder);
    else if (info.st_uid != ::geteuid()) {
        m_strProblem = folder + ": the folder belongs to another user";
        usable = false;
    } else if ((info.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0) {
        m_strProblem = SystemError(folder);
        usable = false;
    }
    ::close(fd);
    return usable;
}

cInstanceLock::cInstanceLock(const char* nameCp932)
{
    m_strPath = Folder() + "/Quillbramwood-" + Cp932ToUtf8(nameCp932 ? nameCp932 : "") + ".lock";
}

cInstanceLock::~cInstanceLock() { Release(); }

bool cInstanceLock::TryLock()
{
    if (m_bHeld) return true;
    m_strProblem.clear();
    if (m_nFd < 0) {
        if (!PrepareFolder()) return false;
        m_nFd = ::open(m_strPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (m_nFd < 0) {
            m_strProblem = SystemError(m_strPath);
            return false;
        }
    }
    if (::flock(m_nFd, LOCK_EX | LOCK_NB) != 0) {
        // Only a lock held by another process means another instance runs.
        if (errno != EWOULDBLOCK) m_strProblem = SystemError(m_strPath);
        return false;
    }
    m_bHeld = true;
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(m_nFd, 0) == 0) {
        ssize_t written = ::pwrite(m_nFd, pid.data(), pid.size(), 0);
        (void)written;
    }
    return true;
}

bool cInstanceLock::TryAcquire() { return TryLock(); }

pid_t cInstanceLock::OwnerPid() const
{
    const int fd = ::open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char buffer[32] = {};
    const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (n <= 0) return 0;
    const long pid = std::strtol(buffer, nullptr, 10);
    return pid > 0 ? static_cast<pid_t>(pid) : 0;
}

cInstanceLock::EndResult cInstanceLock::EndOwnerAndTakeOver(int waitMilliseconds)
{
    EndResult result = EndResult::NoOwner;
    const pid_t owner = OwnerPid();
    if (owner > 0 && owner != ::getpid()) {
        if (::kill(owner, SIGKILL) == 0) result = EndResult::Ended;
        else if (errno == EPERM) return EndResult::CannotEnd;
    }
    // The kernel frees the lock once the process is gone; poll for it within the wait.
    for (int waited = 0; !TryLock() && waited < waitMilliseconds; waited += 5) {
        timespec step{0, 5 * 1000000L};
        nanosleep(&step, nullptr);
    }
    return result;
}

void cInstanceLock::Release()
{
    if (m_nFd >= 0) {
        if (m_bHeld) {
            if (::ftruncate(m_nFd, 0) != 0) {}
            ::flock(m_nFd, LOCK_UN);
        }
        ::close(m_nFd);
    }
    m_nFd = -1;
    m_bHeld = false;
}

}  // namespace plat
