#include "removal_text.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "path_size.h"

const char FINISH_SWITCH[] = "/finish";
const char TIDY_SWITCH[] = "/tidy";

namespace {

const char REMOVED_TEXT[] = "Velari was removed.";
const char LEFT_TEXT[] = "Velari was removed, except for these, which could not be removed:\n\n";
// Ends a list that the message has no room for.
const char MORE_TEXT[] = "...\n";

}  // namespace

bool FolderOfPath(char* out, size_t size, const char* path)
{
    const char* lastSeparator = strrchr(path, '\\');
    const size_t length = lastSeparator ? static_cast<size_t>(lastSeparator - path) + 1 : 0;
    if (size == 0)
        return false;
    if (length == 0 || length >= size) {
        out[0] = '\0';
        return false;
    }
    memmove(out, path, length);
    out[length] = '\0';
    return true;
}

bool FormatFinishArguments(char* out, size_t size, const char* switchText, const uint32_t (&waitHandles)[2],
                           const char* folder)
{
    const int length = snprintf(out, size, "%s %lu %lu %s", switchText, static_cast<unsigned long>(waitHandles[0]),
                                static_cast<unsigned long>(waitHandles[1]), folder);
    if (length < 0 || static_cast<size_t>(length) >= size) {
        if (size > 0)
            out[0] = '\0';
        return false;
    }
    return true;
}

namespace {

// Digits up to end, as a number that fits 32 bits; *at moves past them.
bool TakeNumber(const char** at, uint32_t* number)
{
    const char* digits = *at;
    *number = 0;
    for (; **at >= '0' && **at <= '9'; ++*at) {
        const uint32_t digit = static_cast<uint32_t>(**at - '0');
        if (*number > (UINT32_MAX - digit) / 10)
            return false;
        *number = *number * 10 + digit;
    }
    return *at != digits;
}

bool StartsWithIgnoringCase(const char* text, const char* start, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (toupper(static_cast<unsigned char>(text[i])) != start[i])
            return false;
    return true;
}

}  // namespace

bool ParseFinishArguments(const char* arguments, const char* switchText, uint32_t (&waitHandles)[2],
                          char* folder, size_t folderSize)
{
    const size_t switchLength = strlen(switchText);
    if (strncmp(arguments, switchText, switchLength) != 0 || arguments[switchLength] != ' ')
        return false;
    const char* at = arguments + switchLength + 1;
    uint32_t numbers[2];
    for (uint32_t& number : numbers)
        if (!TakeNumber(&at, &number) || *at++ != ' ')
            return false;
    const size_t restLength = strlen(at);
    if (restLength == 0 || at[restLength - 1] != '\\' || !JoinPath(folder, folderSize, at, nullptr))
        return false;
    waitHandles[0] = numbers[0];
    waitHandles[1] = numbers[1];
    return true;
}

const char FIRST_SWITCH[] = "/FIRST=";

bool ParseRemovalSwitches(const char* arguments, bool* quiet, uint32_t* firstProcess)
{
    const char QUIET_SWITCH[] = "/SILENT";
    *quiet = false;
    *firstProcess = 0;
    for (const char* at = arguments;;) {
        while (*at == ' ' || *at == '\t')
            ++at;
        if (*at == '\0')
            return true;
        const size_t length = strcspn(at, " \t");
        if (length == sizeof QUIET_SWITCH - 1 && StartsWithIgnoringCase(at, QUIET_SWITCH, length)) {
            *quiet = true;
            at += length;
        } else if (StartsWithIgnoringCase(at, FIRST_SWITCH, sizeof FIRST_SWITCH - 1)) {
            at += sizeof FIRST_SWITCH - 1;
            if (!TakeNumber(&at, firstProcess) || (*at && *at != ' ' && *at != '\t'))
                break;
        } else {
            break;
        }
    }
    *quiet = false;
    *firstProcess = 0;
    return false;
}

void StartReport(RemovalReport* report)
{
    report->names[0] = '\0';
    report->length = 0;
    report->failures = 0;
    report->keptFolder[0] = '\0';
}

void NoteKeptFolder(RemovalReport* report, const char* folder)
{
    JoinPath(report->keptFolder, sizeof report->keptFolder, folder, nullptr);
}

// A name that has no room is left out, and the list ends with MORE_TEXT,
// for which room is always kept.
void AddFailure(RemovalReport* report, const char* name)
{
    ++report->failures;
    const size_t room = sizeof report->names - sizeof MORE_TEXT - report->length;
    const size_t length = strlen(name);
    if (length + 1 >= room)
        return;
    memcpy(report->names + report->length, name, length);
    report->names[report->length + length] = '\n';
    report->length += length + 1;
    report->names[report->length] = '\0';
}

void ComposeClosingMessage(const RemovalReport& report, char* out, size_t size)
{
    int listed = 0;
    for (size_t at = 0; at < report.length; ++at)
        listed += report.names[at] == '\n';
    int length = report.failures == 0
                     ? snprintf(out, size, "%s", REMOVED_TEXT)
                     : snprintf(out, size, "%s%s%s", LEFT_TEXT, report.names, listed < report.failures ? MORE_TEXT : "");
    if (report.keptFolder[0] && length >= 0 && static_cast<size_t>(length) < size)
        snprintf(out + length, size - length, "%sIts folder %s was kept because it still holds other files.",
                 report.failures ? "\n" : " ", report.keptFolder);
}

int QuietRemovalExitCode(bool installed, const RemovalReport& report)
{
    return installed && report.failures == 0 ? EXIT_REMOVED : EXIT_LEFT;
}
