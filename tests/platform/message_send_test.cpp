// Sends between threads: served inside any message call of the receiver, direct on the
// window's own thread, between two senders, and refused when nobody can serve them.
#include "platform/os/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/platform/message_test_support.h"

namespace {

// Each file is a test suite of its own: gtest wants one fixture class per suite name.
class MessageSendTest : public cMessageFixture {};

// The receiver's loop for each message call that serves sends; the test marks the call so that
// the handler can tell where it ran. Each loop ends on WM_QUIT.
struct ServingLoop {
    const char* name;
    void (*run)();
};
const ServingLoop kServingLoops[] = {
    {"PeekMessageA",
     [] {
         MSG m{};
         for (;;) {
             t_pInside = "PeekMessageA";
             const BOOL took = PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
             t_pInside = "";
             if (took && m.message == WM_QUIT) return;
             std::this_thread::yield();
         }
     }},
    {"GetMessageA",
     [] {
         MSG m{};
         for (;;) {
             t_pInside = "GetMessageA";
             const BOOL got = GetMessageA(&m, nullptr, 0, 0);
             t_pInside = "";
             if (got <= 0) return;
         }
     }},
    {"WaitMessage",
     [] {
         MSG m{};
         for (;;) {
             t_pInside = "WaitMessage";
             WaitMessage();
             t_pInside = "";
             if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) && m.message == WM_QUIT) return;
         }
     }},
};

TEST_F(MessageSendTest, CrossThreadSendBlocksUntilTheReceiverServedItInsideAnyMessageCall)
{
    for (const auto& loop : kServingLoops) {
        SetUp();
        cHandOver<HWND> window;
        cHandOver<DWORD> receiverId;
        cBoundedThread receiver([&] {
            receiverId.Set(GetCurrentThreadId());
            window.Set(plat::CreateWindowHandle(RecordingProc));
            loop.run();
        });
        const LRESULT result = SendMessageA(window.Get(), WM_USER, 10, 0);
        Note("returned");
        EXPECT_EQ(result, 21) << loop.name;
        PostThreadMessageA(receiverId.Get(), WM_QUIT, 0, 0);
        receiver.Join();
        const auto calls = Calls();
        ASSERT_EQ(calls.size(), 1u) << loop.name;
        EXPECT_EQ(calls[0].threadId, receiverId.Get()) << loop.name << ": the handler runs on the receiver";
        EXPECT_STREQ(calls[0].inside, loop.name);
        EXPECT_EQ(g_Order, (std::vector<std::string>{"handled 10", "returned"})) << loop.name;
    }
}

TEST_F(MessageSendTest, SendOnTheWindowsOwnThreadIsADirectCall)
{
    const HWND w = plat::CreateWindowHandle(RecordingProc);
    t_pInside = "caller";
    EXPECT_EQ(SendMessageA(w, WM_USER, 3, 0), 7);
    t_pInside = "";
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].threadId, GetCurrentThreadId());
    EXPECT_STREQ(calls[0].inside, "caller");
    DestroyWindow(w);
}

TEST_F(MessageSendTest, TwoThreadsSendingToEachOtherServeEachOtherWhileBlocked)
{
    // Each thread's first message call is its send, so neither returns unless a blocked sender
    // serves the other's send.
    cHandOver<HWND> windowA, windowB;
    cHandOver<DWORD> idA, idB;
    cSignal aSending;
    LRESULT resultA = 0, resultB = 0;
    cBoundedThread b([&] {
        idB.Set(GetCurrentThreadId());
        windowB.Set(plat::CreateWindowHandle(RecordingProc));
        aSending.Get();
        resultB = SendMessageA(windowA.Get(), WM_USER, 2, 0);
        MSG m{};
        while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        }
    });
    {
        cBoundedThread a([&] {
            idA.Set(GetCurrentThreadId());
            windowA.Set(plat::CreateWindowHandle(RecordingProc));
            const HWND target = windowB.Get();
            aSending.Set(true);
            resultA = SendMessageA(target, WM_USER, 1, 0);
        });
    }
    PostThreadMessageA(idB.Get(), WM_QUIT, 0, 0);
    b.Join();
    EXPECT_EQ(resultA, 3);
    EXPECT_EQ(resultB, 5);
    for (const auto& call : Calls())
        EXPECT_EQ(call.threadId, call.wParam == 1 ? idB.Get() : idA.Get()) << "message " << call.wParam;
    EXPECT_EQ(Calls().size(), 2u);
}

TEST_F(MessageSendTest, SenderWaitingOnAThreadThatEndsGetsZero)
{
    cHandOver<HWND> receiverWindow, senderWindow;
    cSignal end;
    LRESULT result = -1;
    cBoundedThread receiver([&] {
        receiverWindow.Set(plat::CreateWindowHandle(RecordingProc));
        end.Get();   // never inside a message call: the send stays pending
    });
    cBoundedThread sender([&] {
        senderWindow.Set(plat::CreateWindowHandle(RecordingProc));
        result = SendMessageA(receiverWindow.Get(), WM_USER, 1, 0);
    });
    // The sender serves this probe only inside its own send, so once it is answered the send
    // to the receiver is queued.
    EXPECT_EQ(SendMessageA(senderWindow.Get(), WM_USER, 9, 0), 19);
    end.Set(true);
    receiver.Join();
    sender.Join();
    EXPECT_EQ(result, 0);
    for (const auto& call : Calls()) EXPECT_NE(call.wParam, 1u) << "the ended thread never ran the send";
}

TEST_F(MessageSendTest, SendToNoLiveWindowReturnsZeroAtOnce)
{
    HWND destroyed = plat::CreateWindowHandle(RecordingProc);
    DestroyWindow(destroyed);
    HWND ofEndedThread = nullptr;
    cBoundedThread([&] { ofEndedThread = plat::CreateWindowHandle(RecordingProc); }).Join();
    HWND ofReleasedQueue = nullptr;
    cSignal released, done;
    cBoundedThread owner([&] {
        ofReleasedQueue = plat::CreateWindowHandle(RecordingProc);
        plat::ReleaseThreadQueue();
        released.Set(true);
        done.Get();
    });
    released.Get();
    const struct {
        const char* name;
        HWND window;
    } cases[] = {
        {"null", nullptr},
        {"never made", reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7777770))},
        {"destroyed", destroyed},
        {"its thread ended", ofEndedThread},
        {"its thread released its queue", ofReleasedQueue},
    };
    for (const auto& c : cases) {
        SetUp();
        LRESULT result = -1;
        cBoundedThread([&] { result = SendMessageA(c.window, WM_USER, 4, 0); }).Join();
        EXPECT_EQ(result, 0) << c.name;
        EXPECT_FALSE(IsWindow(c.window)) << c.name;
        if (c.window) {
            EXPECT_FALSE(PostMessageA(c.window, WM_USER, 0, 0)) << c.name;
        }
        EXPECT_TRUE(Calls().empty()) << c.name;
    }
    done.Set(true);
}

}  // namespace
