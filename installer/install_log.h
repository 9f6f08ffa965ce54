// The log that /LOG asks for: one line a step, each written at once, so
// that it tells how far a run came even when the run is cut short.
#ifndef INSTALL_LOG_H
#define INSTALL_LOG_H

#include <windows.h>

// Starts the log at path, replacing an earlier one; false when it can't be
// made, and the run goes on without one.
bool OpenInstallLog(const char* path);
// Takes file, new and open for writing, as the log.
void UseInstallLog(HANDLE file);
// Bytes as they are, as from another process's log.
void WriteToInstallLog(const void* bytes, DWORD size);
// One line; nothing without a log.
void LogStep(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "done", or "FAILED: " with the reason and the system's error, for the end
// of a step's line. The text lasts until the next call.
const char* StepResult(const char* failure, DWORD error);
// The last line, the exit code and what it means; closes the log.
void CloseInstallLog(int exitCode);

#endif
