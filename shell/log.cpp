#include "shell/log.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <mutex>

#include "platform/os/files.h"
#include "platform/os/messages.h"
#include "shell/error_box.h"
#include "shell/format.h"

namespace {

struct cLogFile {
    std::mutex mutex;
    std::string strPath;
};

cLogFile g_ReportFile;
cLogFile g_EcLogFile;
std::atomic<bool> g_bEcEnabled{false};
bool g_bEcOpened = false;   // guarded by g_EcLogFile.mutex

class cFd {
public:
    explicit cFd(int fd) : m_nFd(fd) {}
    ~cFd() { if (m_nFd >= 0) ::close(m_nFd); }
    cFd(const cFd&) = delete;
    cFd& operator=(const cFd&) = delete;
    int Get() const { return m_nFd; }

private:
    int m_nFd;
};

// One write of the whole text in append mode, so the text lands at the end of the file in
// one piece whatever other writers do. createFlags 0: the file must exist ("rt+").
bool WriteToFile(const std::string& path, const std::string& text, int createFlags)
{
    if (path.empty()) return false;
    const std::string native = plat::NativePath(path.c_str());
    if (native.empty()) return false;
    cFd fd(::open(native.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | createFlags, 0644));
    if (fd.Get() < 0) return false;
    if (createFlags & O_CREAT) plat::NotePathChanged(native);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd.Get(), text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AppendReport(const std::string& text)
{
    std::lock_guard lock(g_ReportFile.mutex);
    return WriteToFile(g_ReportFile.strPath, text, 0);
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
    std::lock_guard lock(g_ReportFile.mutex);
    if (!WriteToFile(path, std::string(), O_CREAT | O_TRUNC)) return false;
    g_ReportFile.strPath = path;
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
    std::lock_guard lock(g_EcLogFile.mutex);
    g_EcLogFile.strPath = path ? path : "";
    g_bEcOpened = false;
    g_bEcEnabled.store(enabled != 0);
}

bool IsEcLogEnabled() { return g_bEcEnabled.load(); }

void EcLogString(const std::string& text)
{
    if (!g_bEcEnabled.load()) return;
    std::lock_guard lock(g_EcLogFile.mutex);
    // The first line of the run starts the file afresh; later lines append.
    const int createFlags = g_bEcOpened ? 0 : (O_CREAT | O_TRUNC);
    g_bEcOpened = true;
    WriteToFile(g_EcLogFile.strPath, text + '\n', createFlags);
}

void EcLog(const char* text) { EcLogString(text ? text : ""); }

void EcLogF(const char* format, ...)
{
    if (!g_bEcEnabled.load()) return;
    va_list args;
    va_start(args, format);
    const std::string text = VFormat(format, args);
    va_end(args);
    EcLogString(text);
}

void EcLogFatal(HWND hWnd, const char* format, ...)
{
    if (g_bEcEnabled.load()) {
        va_list args;
        va_start(args, format);
        const std::string text = VFormat(format, args);
        va_end(args);
        EcLogString(text);
    }
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
}
