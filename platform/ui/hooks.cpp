#include "platform/ui/hooks.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/os/messages.h"

namespace {

struct cHookEntry {
    HOOKPROC proc;
    DWORD threadId;
};

// Hooks belong to the thread that runs them (the window thread): no lock is needed.
std::vector<std::unique_ptr<cHookEntry>> s_Hooks;
bool s_bFailNext = false;

}  // namespace

HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId)
{
    if (idHook != WH_KEYBOARD || !proc || threadId != GetCurrentThreadId()) return nullptr;
    if (s_bFailNext) {
        s_bFailNext = false;
        return nullptr;
    }
    s_Hooks.push_back(std::make_unique<cHookEntry>(cHookEntry{proc, threadId}));
    return s_Hooks.back().get();
}

BOOL UnhookWindowsHookEx(HHOOK hook)
{
    auto it = std::find_if(s_Hooks.begin(), s_Hooks.end(), [hook](const auto& h) { return h.get() == hook; });
    if (it == s_Hooks.end()) return FALSE;
    s_Hooks.erase(it);
    return TRUE;
}

// Every hook runs in turn (newest first) whatever the one before did, so the next hook
// has nothing to add.
LRESULT CallNextHookEx(HHOOK, int, WPARAM, LPARAM) { return 0; }

namespace plat {

void RunKeyboardHooks(WPARAM virtualKey, LPARAM keyFlags)
{
    const DWORD self = GetCurrentThreadId();
    std::vector<HOOKPROC> procs;
    for (auto it = s_Hooks.rbegin(); it != s_Hooks.rend(); ++it)
        if ((*it)->threadId == self) procs.push_back((*it)->proc);
    for (HOOKPROC proc : procs) proc(HC_ACTION, virtualKey, keyFlags);
}

void FailNextHookInstall() { s_bFailNext = true; }

}  // namespace plat
