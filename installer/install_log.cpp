#include "install_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "install_options.h"

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;
char result[512];

}  // namespace

bool OpenInstallLog(const char* path)
{
    logFile = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    return logFile != INVALID_HANDLE_VALUE;
}

void UseInstallLog(HANDLE file)
{
    logFile = file;
}

void WriteToInstallLog(const void* bytes, DWORD size)
{
    DWORD written;
    if (logFile != INVALID_HANDLE_VALUE)
        WriteFile(logFile, bytes, size, &written, nullptr);
}

// A line longer than the buffer is cut: a value given on the command line
// may be of any length.
void LogStep(const char* format, ...)
{
    if (logFile == INVALID_HANDLE_VALUE)
        return;
    char line[2048];
    va_list arguments;
    va_start(arguments, format);
    int length = vsnprintf(line, sizeof line - 2, format, arguments);
    va_end(arguments);
    if (length < 0)
        return;
    if (length > static_cast<int>(sizeof line) - 3)
        length = sizeof line - 3;
    memcpy(line + length, "\r\n", 2);
    WriteToInstallLog(line, static_cast<DWORD>(length) + 2);
}

const char* StepResult(const char* failure, DWORD error)
{
    if (!failure)
        return "done";
    if (!error) {
        snprintf(result, sizeof result, "FAILED: %s", failure);
        return result;
    }
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   sizeof text, nullptr);
    // The system's text ends its own line.
    for (size_t end = strlen(text); end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n');)
        text[--end] = '\0';
    // A system error in decimal, a COM result in hexadecimal, as each is
    // usually looked up.
    if (error < 0x10000)
        snprintf(result, sizeof result, "FAILED: %s (error %lu: %s)", failure,
                 static_cast<unsigned long>(error), text);
    else
        snprintf(result, sizeof result, "FAILED: %s (error 0x%08lX: %s)", failure,
                 static_cast<unsigned long>(error), text);
    return result;
}

void CloseInstallLog(int exitCode)
{
    LogStep("Exit code %d: %s.", exitCode, ExitCodeMeaning(exitCode));
    if (logFile != INVALID_HANDLE_VALUE)
        CloseHandle(logFile);
    logFile = INVALID_HANDLE_VALUE;
}
