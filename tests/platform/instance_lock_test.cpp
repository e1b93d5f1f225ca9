#include "platform/os/instance_lock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_folder.h"

namespace {

// Lock files go to a runtime folder of the test's own.
class InstanceLock : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* previous = std::getenv("XDG_RUNTIME_DIR");
        m_strPrevious = previous ? previous : "";
        m_bHadPrevious = previous != nullptr;
        setenv("XDG_RUNTIME_DIR", m_Folder.Path().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_bHadPrevious) setenv("XDG_RUNTIME_DIR", m_strPrevious.c_str(), 1);
        else unsetenv("XDG_RUNTIME_DIR");
    }
    qbtest::cTempFolder m_Folder;
    std::string m_strPrevious;
    bool m_bHadPrevious = false;
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

}  // namespace
