#include "shell/log.h"

#include <atomic>
#include <cstdarg>
#include <mutex>
#include <string>

#include "platform/os/file_ops.h"
#include "platform/os/messages.h"
#include "shell/error_box.h"
#include "shell/format.h"

namespace {

struct cLogFile {
    std::mutex mutex;
    std::string strPath;
};

cLogFile s_ReportFile;
cLogFile s_EcLogFile;
std::atomic<bool> s_bEcEnabled{false};
bool s_bEcOpened = false;   // guarded by s_EcLogFile.mutex

bool AppendReport(const std::string& text)
{
    std::lock_guard lock(s_ReportFile.mutex);
    return plat::AppendToFile(s_ReportFile.strPath.c_str(), text, plat::APPEND_EXISTING);
}

// Formats without a size limit: the text is measured first, so nothing is cut or overrun.
std::string VFormat(const char* format, va_list args)
{
    std::string out;
    VFormatString(out, format, args);
    return out;
}

// The report line, then the same text to the error-check log.
bool EchoLine(const std::string& text)
{
    const bool written = AppendReport(text + '\n');
    EcLogString(text);
    return written;
}

}  // namespace

bool OpenReportFile(const char* path)
{
    if (!path) return false;
    std::lock_guard lock(s_ReportFile.mutex);
    if (!plat::AppendToFile(path, std::string_view(), plat::APPEND_TRUNCATE)) return false;
    s_ReportFile.strPath = path;
    return true;
}

bool ReportAppendRaw(const std::string& text) { return AppendReport(text); }

bool ReportLog(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line = VFormat(format, args);
    va_end(args);
    line += '\n';
    return AppendReport(line);
}

bool ReportLogEcho(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = VFormat(format, args);
    va_end(args);
    return EchoLine(text);
}

bool ReportLogBox(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = VFormat(format, args);
    va_end(args);
    const bool written = EchoLine(text);
    if (written) ErrorBox(text.c_str());
    return written;
}

void SetEcLogFile(int enabled, const char* path)
{
    std::lock_guard lock(s_EcLogFile.mutex);
    s_EcLogFile.strPath = path ? path : "";
    s_bEcOpened = false;
    s_bEcEnabled.store(enabled != 0);
}

bool IsEcLogEnabled() { return s_bEcEnabled.load(); }

void EcLogString(const std::string& text)
{
    if (!s_bEcEnabled.load()) return;
    std::lock_guard lock(s_EcLogFile.mutex);
    // The first line of the run starts the file afresh; later lines append.
    const plat::APPENDMODE mode = s_bEcOpened ? plat::APPEND_EXISTING : plat::APPEND_TRUNCATE;
    s_bEcOpened = true;
    plat::AppendToFile(s_EcLogFile.strPath.c_str(), text + '\n', mode);
}

void EcLog(const char* text) { EcLogString(text ? text : ""); }

void EcLogF(const char* format, ...)
{
    if (!s_bEcEnabled.load()) return;
    va_list args;
    va_start(args, format);
    const std::string text = VFormat(format, args);
    va_end(args);
    EcLogString(text);
}

void EcLogFatal(HWND hWnd, const char* format, ...)
{
    if (s_bEcEnabled.load()) {
        va_list args;
        va_start(args, format);
        const std::string text = VFormat(format, args);
        va_end(args);
        EcLogString(text);
    }
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
}
