#include "app/harness_front_end.h"

#include <mutex>
#include <utility>

#include "platform/os/file_ops.h"
#include "scenes/front_end_trace.h"

namespace {

// Requests come from the game thread, files from whichever thread saves.
std::mutex s_Mutex;
std::vector<std::pair<int, int>> s_Bgm;
std::vector<std::string> s_Files;

void NoteFile(const char* path)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    s_Files.emplace_back(path ? path : "");
}

}  // namespace

void StartFrontEndTrace() { plat::SetCommitObserver(NoteFile); }

void StopFrontEndTrace() { plat::SetCommitObserver(nullptr); }

void NoteBgmRequest(int screen, int number)
{
    std::lock_guard<std::mutex> lock(s_Mutex);
    s_Bgm.emplace_back(screen, number);
}

bool TakeFrontEndTraceLine(int frame, const std::vector<int>& sounds, std::vector<std::pair<int, int>>& bgm,
                           std::string& line)
{
    bgm.clear();
    std::vector<std::string> files;
    {
        std::lock_guard<std::mutex> lock(s_Mutex);
        bgm.swap(s_Bgm);
        files.swap(s_Files);
    }
    return FrontEndTraceLine(FRONTENDFRAME{frame, sounds, bgm, files}, line);
}
