#pragma once
// The single-instance lock: an exclusive flock on a lock file in the user's runtime folder
// that holds the owner's process id. It stands in for the named mutex and for finding the
// window of the running instance. A held flock, never a file's existence, means running: the
// kernel lets go of it when its process ends, so a file left behind locks nothing.
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

    // Takes the lock and writes this process's id. False when another process holds it, or
    // when the lock cannot be used at all (then Problem() says why).
    bool TryAcquire();
    // Why the last attempt could not use the lock file (UTF-8, naming the file); empty when
    // it was taken or another process holds it.
    const std::string& Problem() const { return m_strProblem; }
    // The process id written by the holder, 0 when none can be read.
    pid_t OwnerPid() const;

    enum class EndResult { Ended, NoOwner, CannotEnd };
    // Ends the holding process with SIGKILL (as TerminateProcess would) and waits up to
    // waitMilliseconds for its lock to come free; then takes the lock over and writes our id,
    // so that a later start finds this process. NoOwner: no such process (nothing to end);
    // CannotEnd: the process exists but may not be signalled. Whatever the result, Held()
    // says whether the lock was taken.
    EndResult EndOwnerAndTakeOver(int waitMilliseconds);

    bool Held() const { return m_bHeld; }
    // Gives the lock up (also done by the destructor). Safe to call on any path, once or more.
    void Release();

    // Where lock files live: $XDG_RUNTIME_DIR when set, else a folder of this user's own,
    // quillbramwood-UID in $TMPDIR (or /tmp): never a folder that other users write to.
    static std::string Folder();

private:
    bool TryLock();
    bool PrepareFolder();
    std::string m_strPath;
    std::string m_strProblem;
    int m_nFd = -1;
    bool m_bHeld = false;
};

}  // namespace plat
