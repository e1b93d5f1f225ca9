#include "platform/os/instance_lock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_folder.h"

namespace {

// An environment variable set (or unset, for null) for the test's duration.
class cLockTestVariable {
public:
    cLockTestVariable(const char* name, const char* value) : m_strName(name)
    {
        const char* previous = std::getenv(name);
        m_bHadPrevious = previous != nullptr;
        if (previous) m_strPrevious = previous;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~cLockTestVariable()
    {
        if (m_bHadPrevious) setenv(m_strName.c_str(), m_strPrevious.c_str(), 1);
        else unsetenv(m_strName.c_str());
    }
    cLockTestVariable(const cLockTestVariable&) = delete;
    cLockTestVariable& operator=(const cLockTestVariable&) = delete;

private:
    std::string m_strName;
    std::string m_strPrevious;
    bool m_bHadPrevious = false;
};

// Lock files go to a runtime folder of the test's own.
class InstanceLock : public ::testing::Test {
protected:
    qbtest::cTempFolder m_Folder;
    cLockTestVariable m_Runtime{"XDG_RUNTIME_DIR", m_Folder.Path().c_str()};
};

TEST_F(InstanceLock, TheFirstTakesItAndWritesItsProcessId)
{
    plat::cInstanceLock first("ゲーム");
    ASSERT_TRUE(first.TryAcquire());
    EXPECT_TRUE(first.Held());
    EXPECT_EQ(first.OwnerPid(), getpid());
    EXPECT_EQ(plat::cInstanceLock::Folder(), m_Folder.Path().string());

    plat::cInstanceLock second("ゲーム");
    EXPECT_FALSE(second.TryAcquire());
    EXPECT_EQ(second.OwnerPid(), getpid());

    // Another name is another lock.
    plat::cInstanceLock other("other");
    EXPECT_TRUE(other.TryAcquire());

    first.Release();
    EXPECT_TRUE(second.TryAcquire());
}

TEST_F(InstanceLock, ALockWhoseOwnerIsGoneIsFree)
{
    // A lock file left with the id of a process that no longer holds it.
    m_Folder.WriteFile(u8"Quillbramwood-ゲーム.lock", "999999\n");
    plat::cInstanceLock lock("ゲーム");
    EXPECT_TRUE(lock.TryAcquire());
    EXPECT_EQ(lock.OwnerPid(), getpid());
}

TEST_F(InstanceLock, TakingOverEndsTheOwnerAndWritesTheNewId)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    plat::cInstanceLock owner("ゲーム");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const char answer = owner.TryAcquire() ? 'y' : 'n';
        if (write(ready[1], &answer, 1) != 1) _exit(1);
        for (;;) pause();
    }
    close(ready[1]);
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    close(ready[0]);
    ASSERT_EQ(answer, 'y');

    plat::cInstanceLock taker("ゲーム");
    EXPECT_FALSE(taker.TryAcquire());
    EXPECT_EQ(taker.OwnerPid(), child);
    EXPECT_EQ(taker.EndOwnerAndTakeOver(500), plat::cInstanceLock::EndResult::Ended);
    EXPECT_TRUE(taker.Held());
    EXPECT_EQ(taker.OwnerPid(), getpid());

    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);

    // A third start finds the new owner.
    plat::cInstanceLock third("ゲーム");
    EXPECT_FALSE(third.TryAcquire());
    EXPECT_EQ(third.OwnerPid(), getpid());
}

TEST_F(InstanceLock, ALockFileThatCannotBeOpenedIsAProblemNotAnotherInstance)
{
    std::filesystem::create_directory(m_Folder.Path() / u8"Quillbramwood-ゲーム.lock");
    plat::cInstanceLock lock("ゲーム");
    EXPECT_FALSE(lock.TryAcquire());
    EXPECT_FALSE(lock.Held());
    EXPECT_NE(lock.Problem().find(u8"Quillbramwood-ゲーム.lock"), std::string::npos) << lock.Problem();
}

// No session folder: the temporary folder is shared with every user of the machine, as /tmp is.
class InstanceLockWithoutSession : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(chmod(m_Shared.Path().c_str(), 01777), 0); }
    std::filesystem::path OwnFolder() const
    {
        return m_Shared.Path() / ("quillbramwood-" + std::to_string(geteuid()));
    }
    qbtest::cTempFolder m_Shared;
    cLockTestVariable m_Runtime{"XDG_RUNTIME_DIR", nullptr};
    cLockTestVariable m_Temporary{"TMPDIR", m_Shared.Path().c_str()};
};

TEST_F(InstanceLockWithoutSession, TheLockLivesInAFolderOfTheUsersOwnNotInTheSharedOne)
{
    // Another user's lock file straight in the shared folder, which that user's mode keeps us
    // from opening (as root too, once it belongs to nobody).
    const std::filesystem::path stranger = m_Shared.Path() / u8"Quillbramwood-ゲーム.lock";
    m_Shared.WriteFile(u8"Quillbramwood-ゲーム.lock", "1\n");
    ASSERT_EQ(chmod(stranger.c_str(), 0400), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(stranger.c_str(), 65534, 65534), 0);
    }

    plat::cInstanceLock lock("ゲーム");
    ASSERT_TRUE(lock.TryAcquire()) << lock.Problem();
    EXPECT_EQ(plat::cInstanceLock::Folder(), OwnFolder().string());
    struct stat info{};
    ASSERT_EQ(lstat(OwnFolder().c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_uid, geteuid());
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_EQ(lock.OwnerPid(), getpid());
    EXPECT_TRUE(std::filesystem::exists(OwnFolder() / u8"Quillbramwood-ゲーム.lock"));
    EXPECT_EQ(m_Shared.ReadFile(u8"Quillbramwood-ゲーム.lock"), "1\n");

    // A file left by a run of ours that has ended is no lock either.
    lock.Release();
    plat::cInstanceLock next("ゲーム");
    EXPECT_TRUE(next.TryAcquire()) << next.Problem();
}

TEST_F(InstanceLockWithoutSession, AnOwnFolderThatOthersCouldUseIsRefusedOrClosedToThem)
{
    enum { kLink, kFile, kOpenToAll, kStrangers };
    struct Case { const char* name; int state; bool taken; } cases[] = {
        {"a link to another folder", kLink, false},
        {"a file", kFile, false},
        {"a folder of ours open to all", kOpenToAll, true},   // ours: closed to the others
        {"another user's folder", kStrangers, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.state == kStrangers && geteuid() != 0) continue;   // only root can give a folder away
        std::filesystem::remove_all(OwnFolder());
        const std::filesystem::path elsewhere = m_Shared.Path() / "elsewhere";
        std::filesystem::create_directories(elsewhere);
        if (c.state == kLink) std::filesystem::create_directory_symlink(elsewhere, OwnFolder());
        if (c.state == kFile) m_Shared.WriteFile(OwnFolder().filename().string(), "");
        if (c.state == kOpenToAll || c.state == kStrangers) {
            std::filesystem::create_directory(OwnFolder());
            ASSERT_EQ(chmod(OwnFolder().c_str(), 0777), 0);
        }
        if (c.state == kStrangers) {
            ASSERT_EQ(chown(OwnFolder().c_str(), 65534, 65534), 0);
        }

        plat::cInstanceLock lock("ゲーム");
        EXPECT_EQ(lock.TryAcquire(), c.taken) << lock.Problem();
        EXPECT_EQ(lock.Held(), c.taken);
        if (c.taken) {
            struct stat info{};
            ASSERT_EQ(stat(OwnFolder().c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0700u);
        } else {
            EXPECT_NE(lock.Problem().find(OwnFolder().string()), std::string::npos) << lock.Problem();
        }
        EXPECT_TRUE(std::filesystem::is_empty(elsewhere)) << "nothing is written through a link";
    }
}

}  // namespace
