#pragma once
// Threads by handle: start (as _beginthreadex does), wait, close, and cooperative suspension.
// There is no way to kill a thread: a thread ends only by returning from its body.
#include "platform/os/windows_types.h"

constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds); // a thread handle: its end
BOOL CloseHandle(HANDLE handle);     // a running thread goes on by itself, no longer waitable
DWORD SuspendThread(HANDLE handle);  // stops at its next message call or sleep; (DWORD)-1 on failure
DWORD ResumeThread(HANDLE handle);   // (DWORD)-1 on failure

namespace plat {

// The body of a thread: one pointer-sized argument, an unsigned 32-bit result.
using ThreadProc = unsigned (*)(void* arg);

// Starts proc(arg) on a new thread at once and writes its id (the one GetCurrentThreadId gives
// on that thread) into *threadId. Null, with *threadId left alone, when no thread could be made.
HANDLE BeginThread(ThreadProc proc, void* arg, DWORD* threadId);

// How many threads started here have not returned from their bodies yet.
int RunningThreadCount();

}  // namespace plat
