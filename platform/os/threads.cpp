#include "platform/os/threads.h"

#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_map>

#include "platform/os/messages.h"

namespace {

struct cThreadRecord {
    std::thread thread;
    DWORD id = 0;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

// The open thread handles. A handle is the address of its record; the running thread keeps
// its own reference, so closing the handle of a running thread leaves it running safely.
std::mutex s_HandlesMutex;
std::unordered_map<HANDLE, std::shared_ptr<cThreadRecord>> s_Handles;
std::atomic<int> s_nRunning{0};

std::shared_ptr<cThreadRecord> Find(HANDLE handle)
{
    std::lock_guard<std::mutex> lock(s_HandlesMutex);
    auto it = s_Handles.find(handle);
    return it == s_Handles.end() ? nullptr : it->second;
}

}  // namespace

namespace plat {

HANDLE BeginThread(ThreadProc proc, void* arg, DWORD* threadId)
{
    if (!proc) return nullptr;
    auto record = std::make_shared<cThreadRecord>();
    std::promise<DWORD> idPromise;
    std::future<DWORD> idFuture = idPromise.get_future();
    s_nRunning.fetch_add(1);
    try {
        record->thread = std::thread([record, proc, arg, promise = std::move(idPromise)]() mutable {
            promise.set_value(GetCurrentThreadId());
            proc(arg);
            ReleaseThreadQueue();
            {
                std::lock_guard<std::mutex> lock(record->mutex);
                record->done = true;
            }
            s_nRunning.fetch_sub(1);
            record->ended.notify_all();
        });
    } catch (const std::system_error&) {
        s_nRunning.fetch_sub(1);
        return nullptr;
    }
    record->id = idFuture.get();
    if (threadId) *threadId = record->id;
    HANDLE handle = record.get();
    std::lock_guard<std::mutex> lock(s_HandlesMutex);
    s_Handles.emplace(handle, std::move(record));
    return handle;
}

int RunningThreadCount() { return s_nRunning.load(); }

}  // namespace plat

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    auto record = Find(handle);
    if (!record) return WAIT_FAILED;
    std::unique_lock<std::mutex> lock(record->mutex);
    if (milliseconds == INFINITE) {
        record->ended.wait(lock, [&] { return record->done; });
        return WAIT_OBJECT_0;
    }
    return record->ended.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return record->done; })
               ? WAIT_OBJECT_0
               : WAIT_TIMEOUT;
}

BOOL CloseHandle(HANDLE handle)
{
    std::shared_ptr<cThreadRecord> record;
    {
        std::lock_guard<std::mutex> lock(s_HandlesMutex);
        auto it = s_Handles.find(handle);
        if (it == s_Handles.end()) return FALSE;
        record = std::move(it->second);
        s_Handles.erase(it);
    }
    bool done;
    {
        std::lock_guard<std::mutex> lock(record->mutex);
        done = record->done;
    }
    // A thread that has returned is joined; one still running is let go and ends by itself.
    if (record->thread.joinable()) {
        if (done && record->thread.get_id() != std::this_thread::get_id()) record->thread.join();
        else record->thread.detach();
    }
    return TRUE;
}

DWORD SuspendThread(HANDLE handle)
{
    auto record = Find(handle);
    if (!record) return static_cast<DWORD>(-1);
    return plat::SuspendThreadById(record->id);
}

DWORD ResumeThread(HANDLE handle)
{
    auto record = Find(handle);
    if (!record) return static_cast<DWORD>(-1);
    return plat::ResumeThreadById(record->id);
}
