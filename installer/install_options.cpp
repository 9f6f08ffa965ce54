#include "install_options.h"

#include <cstring>

#include "path_text.h"

const char USAGE_TEXT[] =
    "install [/SILENT | /VERYSILENT] [/DIR=\"folder\"] [/GAMEDIR=\"folder\"] [/LOG=\"file\"]\n\n"
    "/SILENT: no page and no question; only the progress is shown.\n"
    "/VERYSILENT: nothing at all is shown.\n"
    "/DIR: the folder to install into.\n"
    "/GAMEDIR: the folder of Gravion!; no search is made.\n"
    "/LOG: a text file with one line for each step.\n"
    "/?: shows this.\n\n"
    "Exit codes:\n"
    "0 installed\n"
    "1 the command line was not understood\n"
    "2 cancelled\n"
    "3 a folder given can't be used\n"
    "4 installed incompletely: some actions failed";

namespace {

const char* const MEANINGS[] = {
    "installed", "the command line was not understood", "cancelled",
    "a folder given can't be used", "installed incompletely: some actions failed",
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

bool EndsToken(char c)
{
    return c == '\0' || IsBlank(c);
}

// The value at text, quoted or not, ended by a zero in place; *next is
// where the next switch may start. Null for an empty value, an unclosed
// quote or a quote anywhere else.
char* TakeValue(char* text, char** next)
{
    char* end;
    char* value = text;
    if (*text == '"') {
        value = text + 1;
        end = strchr(value, '"');
        if (!end || !EndsToken(end[1]))
            return nullptr;
    } else {
        for (end = text; !EndsToken(*end); ++end)
            if (*end == '"')
                return nullptr;
    }
    if (end == value)
        return nullptr;
    *next = *end == '\0' ? end : end + 1;
    *end = '\0';
    return value;
}

// One switch at text; false when it is unknown or written wrongly.
bool TakeSwitch(char* text, char** next, InstallOptions* options)
{
    struct { const char* name; const char** value; } valueSwitches[] = {
        {"/DIR=", &options->targetFolder},
        {"/GAMEDIR=", &options->gameFolder},
        {"/LOG=", &options->logFile},
    };
    for (const auto& valueSwitch : valueSwitches)
        if (char* value = AfterName(text, valueSwitch.name)) {
            *valueSwitch.value = TakeValue(value, next);
            return *valueSwitch.value != nullptr;
        }
    char* end = text;
    while (!EndsToken(*end))
        ++end;
    *next = end;
    char* after;
    if ((after = AfterName(text, "/VERYSILENT")) && after == end)
        options->mode = INSTALL_VERYSILENT;
    else if ((after = AfterName(text, "/SILENT")) && after == end) {
        if (options->mode == INSTALL_WIZARD)
            options->mode = INSTALL_SILENT;  // the quieter of the two wins
    } else if ((after = AfterName(text, "/?")) && after == end)
        options->showUsage = true;
    else
        return false;
    return true;
}

}  // namespace

bool ParseInstallOptions(char* commandLine, InstallOptions* options)
{
    *options = InstallOptions();
    bool understood = true;
    char* at = commandLine;
    for (;;) {
        while (IsBlank(*at))
            ++at;
        if (*at == '\0')
            return understood;
        char* next = at;
        if (!TakeSwitch(at, &next, options)) {
            understood = false;
            // Past what could not be read, to see whether /VERYSILENT follows.
            for (next = at; !EndsToken(*next); ++next) {
            }
        }
        at = next;
    }
}

bool HasDriveRoot(const char* folder)
{
    const char letter = UpperAscii(folder[0]);
    return letter >= 'A' && letter <= 'Z' && folder[1] == ':' && folder[2] == '\\';
}

const char* ExitCodeMeaning(int code)
{
    return code >= 0 && code < static_cast<int>(sizeof MEANINGS / sizeof *MEANINGS) ? MEANINGS[code]
                                                                                      : "unknown";
}
