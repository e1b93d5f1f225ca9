#include "shell/not_built_yet.h"

#include <mutex>
#include <set>
#include <string>

#include "shell/log.h"

void LogNotBuiltYet(const char* what)
{
    static std::mutex mutex;
    static std::set<std::string> said;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!said.insert(what ? what : "").second) return;
    }
    ReportLogEcho("%s: not built yet", what ? what : "");
}
