#pragma once
// The two text logs: the report file (always written: version, system and display report,
// every error line) and the error-check log (trace lines, behind a switch that is off by
// default). Every line is one append of the whole line, so lines of different threads never
// mix and each is on disk as soon as the call returns. A file that cannot be opened drops the
// line silently.
#include <string>

#include "platform/os/windows_types.h"

#define QB_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))

// Creates or truncates the report file and remembers its path; false when it cannot be created.
bool OpenReportFile(const char* path);

// Appends the formatted text and "\n" to the report file; false when it cannot be opened.
bool ReportLog(const char* format, ...) QB_PRINTF(1, 2);
// As ReportLog, then the same text (not formatted again) to the error-check log.
bool ReportLogEcho(const char* format, ...) QB_PRINTF(1, 2);
// As ReportLogEcho, then an error box with the text; no box when the report file cannot be opened.
bool ReportLogBox(const char* format, ...) QB_PRINTF(1, 2);

// Appends text exactly as given (a '%' is not formatted) to the report file, without a "\n".
bool ReportAppendRaw(const std::string& text);

// Switches the error-check log and names its file. The first line after this truncates the file.
void SetEcLogFile(int enabled, const char* path);
bool IsEcLogEnabled();

// Error-check log lines; the text is written as it is. Nothing happens while the log is off.
void EcLog(const char* text);
void EcLogString(const std::string& text);
void EcLogF(const char* format, ...) QB_PRINTF(1, 2);
// As EcLogF, then posts WM_CLOSE to the window whether or not the log is on.
void EcLogFatal(HWND hWnd, const char* format, ...) QB_PRINTF(2, 3);
