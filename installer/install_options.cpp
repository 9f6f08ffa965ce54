#include "install_options.h"

#include <cstdio>
#include <cstring>


const char USAGE_TEXT[] =
    "install.exe and the setup program take these switches, in any order and any case:\n\n"
    "/SILENT: no page and no question; only the progress is shown.\n"
    "/VERYSILENT: nothing at all is shown.\n"
    "/DIR=\"folder\": the folder to install into.\n"
    "/GAMEDIR=\"folder\": the folder of Gravion!; no search is made.\n"
    "/LOG=\"file\": a text file with one line for each step.\n"
    "/ALLUSERS: for all users; needs administrator rights.\n"
    "/CURRENTUSER: just for the user who runs it, in the user's own folders.\n"
    "Without either: for all users when started with administrator rights.\n"
    "/NOCLOSEAPPLICATIONS: a running Velari is not closed; its files stay in use.\n"
    "/NORESTARTAPPLICATIONS: a running Velari is closed but not opened again.\n"
    "/?: shows this.\n\n"
    "Exit codes:\n"
    "0 installed\n"
    "1 the command line was not understood\n"
    "2 cancelled\n"
    "3 the target folder can't be used\n"
    "4 installed incompletely: some actions failed, or nothing: a file of the release is missing or damaged; or Velari was left running; from the setup program also: it is damaged, download it again";

namespace {

const char* const MEANINGS[] = {
    "installed", "the command line was not understood", "cancelled",
    "the target folder can't be used", "installed incompletely: some actions failed, or nothing, or Velari was left running",
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text after name when text starts with it, letters in either case;
// otherwise null.
char* AfterName(char* text, const char* name)
{
    for (; *name; ++text, ++name)
        if (UpperAscii(*text) != *name)
            return nullptr;
    return text;
}

// The next argument from *at, its quotes taken out, written over the line
// itself (it is never longer than what it came from) and ended by a zero;
// *at moves past it. Unlike the C runtime, a backslash never escapes a
// quote: a path can't hold a quote, and "D:\My Games\" must keep its last
// backslash. False when a quote is left open.
bool TakeArgument(char** at, char** argument)
{
    char* from = *at;
    char* to = from;
    *argument = to;
    bool quoted = false;
    for (; *from && (quoted || !IsBlank(*from)); ++from) {
        if (*from == '"')
            quoted = !quoted;
        else
            *to++ = *from;
    }
    *at = *from ? from + 1 : from;
    *to = '\0';
    return !quoted;
}

// The first problem is the one told.
void TellProblem(InstallOptions* options, const char* first, const char* second)
{
    if (!options->problem[0])
        snprintf(options->problem, sizeof options->problem, "%s%s", first, second);
}

// A scope's switch; the two can't both be given.
bool TakeScope(char* argument, InstallOptions* options)
{
    for (int scope = 0; scope < SCOPE_COUNT; ++scope) {
        char* after = AfterName(argument, SCOPE_PLACES[scope].switchName);
        if (!after || *after != '\0')
            continue;
        if (options->scope != SCOPE_NONE && options->scope != scope)
            TellProblem(options, "/ALLUSERS and /CURRENTUSER", " can't both be given");
        options->scope = static_cast<InstallScope>(scope);
        return true;
    }
    return false;
}

// One argument; the problem told when it is unknown or written wrongly.
void TakeSwitch(char* argument, InstallOptions* options)
{
    struct { const char* name; const char** value; const char* needs; } valueSwitches[] = {
        {"/DIR", &options->targetFolder, " needs a folder"},
        {"/GAMEDIR", &options->gameFolder, " needs a folder"},
        {"/LOG", &options->logFile, " needs a file"},
        {"/ELEVATEDLOG", &options->handoverLog, " needs 16 hexadecimal digits"},
    };
    for (const auto& valueSwitch : valueSwitches) {
        char* after = AfterName(argument, valueSwitch.name);
        if (!after || (*after != '=' && *after != '\0'))
            continue;
        if (*after == '\0' || after[1] == '\0') {
            TellProblem(options, valueSwitch.name, valueSwitch.needs);
            return;
        }
        *valueSwitch.value = after + 1;
        return;
    }
    char* after;
    if ((after = AfterName(argument, "/VERYSILENT")) && *after == '\0')
        options->mode = INSTALL_VERYSILENT;
    else if ((after = AfterName(argument, "/SILENT")) && *after == '\0') {
        if (options->mode == INSTALL_WIZARD)
            options->mode = INSTALL_SILENT;  // the quieter of the two wins
    } else if ((after = AfterName(argument, "/?")) && *after == '\0')
        options->showUsage = true;
    else if ((after = AfterName(argument, "/NOCLOSEAPPLICATIONS")) && *after == '\0')
        options->noCloseApplications = true;
    else if ((after = AfterName(argument, "/NORESTARTAPPLICATIONS")) && *after == '\0')
        options->noRestartApplications = true;
    else if (!TakeScope(argument, options))
        TellProblem(options, "Unknown switch: ", argument);
}

}  // namespace

bool IsHandoverName(const char* name)
{
    size_t length = 0;
    for (; (name[length] >= '0' && name[length] <= '9') || (name[length] >= 'a' && name[length] <= 'f'); ++length) {
    }
    return length == HANDOVER_NAME_LENGTH && name[length] == '\0';
}

// Every argument is read, also after one not understood, to see whether
// /VERYSILENT or /LOG follows.
bool ParseInstallOptions(char* commandLine, InstallOptions* options)
{
    *options = InstallOptions();
    options->scope = SCOPE_NONE;
    char* at = commandLine;
    for (;;) {
        while (IsBlank(*at))
            ++at;
        if (*at == '\0' && options->handoverLog && !IsHandoverName(options->handoverLog))
            TellProblem(options, "/ELEVATEDLOG", " needs 16 hexadecimal digits");
        if (*at == '\0')
            return options->problem[0] == '\0';
        char* argument;
        if (TakeArgument(&at, &argument))
            TakeSwitch(argument, options);
        else
            TellProblem(options, "A quote is left open: ", argument);
    }
}

// The restart with administrator rights never writes where the caller
// said: its first process, with the caller's rights, copies its log there.
// A name that could be a path gives no log at all.
LogPlace ChooseLogPlace(const InstallOptions& options)
{
    if (options.handoverLog)
        return IsHandoverName(options.handoverLog) ? LOG_HANDOVER : LOG_NONE;
    return options.logFile ? LOG_GIVEN_FILE : LOG_NONE;
}

const char* ExitCodeMeaning(int code)
{
    return code >= 0 && code < static_cast<int>(sizeof MEANINGS / sizeof *MEANINGS) ? MEANINGS[code]
                                                                                      : "unknown";
}
