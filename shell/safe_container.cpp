#include "shell/safe_container.h"

#include <string>

#include "platform/os/messages.h"
#include "shell/format.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

namespace safe_container_detail {

void ReportBadIndex(char kind, int index, std::size_t length, std::size_t elementSize)
{
    std::string text;
    FormatString(text, kind == 'L' ? "err L[%d] ( %d , %d )" : "err V[%d] ( %d , %d )", index,
                 static_cast<int>(length), static_cast<int>(elementSize));
    EcLog(text.c_str());
    ReportLog("%s", text.c_str());
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
}

}  // namespace safe_container_detail
