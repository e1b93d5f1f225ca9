#include "shell/not_built_yet.h"

#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "shell/log.h"

void LogNotBuiltYet(const char* what)
{
    // Called from per-frame paths: a piece already reported costs a lookup, no allocation.
    static std::mutex mutex;
    static std::set<std::string, std::less<>> said;
    const std::string_view piece = what ? what : "";
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (said.find(piece) != said.end()) return;
        said.emplace(piece);
    }
    ReportLogEcho("%s: not built yet", what ? what : "");
}
