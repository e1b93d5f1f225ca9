#pragma once
// The single-instance lock: an exclusive flock on a lock file in $XDG_RUNTIME_DIR (or /tmp)
// that holds the owner's process id. It stands in for the named mutex and for finding the
// window of the running instance.
#include <string>
#include <sys/types.h>

namespace plat {

class cInstanceLock {
public:
    // name: the mutex name (CP932); the lock file is named after it.
    explicit cInstanceLock(const char* nameCp932);
    ~cInstanceLock();
    cInstanceLock(const cInstanceLock&) = delete;
    cInstanceLock& operator=(const cInstanceLock&) = delete;

    // Takes the lock and writes this process's id. False when another process holds it.
    bool TryAcquire();
    // The process id written by the holder, 0 when none can be read.
    pid_t OwnerPid() const;

    enum class EndResult { Ended, NoOwner, CannotEnd };
    // Ends the holding process with SIGKILL (as TerminateProcess would) and waits up to
    // waitMilliseconds for its lock to come free; then takes the lock over and writes our id,
    // so that a later start finds this process. NoOwner: no such process (nothing to end);
    // CannotEnd: the process exists but may not be signalled.
    EndResult EndOwnerAndTakeOver(int waitMilliseconds);

    bool Held() const { return m_bHeld; }
    // Gives the lock up (also done by the destructor). Safe to call on any path, once or more.
    void Release();

    // Where lock files live: $XDG_RUNTIME_DIR when set, else /tmp.
    static std::string Folder();

private:
    bool TryLock();
    std::string m_strPath;
    int m_nFd = -1;
    bool m_bHeld = false;
};

}  // namespace plat
