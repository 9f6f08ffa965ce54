#include "install_scope.h"

#include <cstdio>

ScopeChoice ChooseInstallScope(const ScopeFacts& facts)
{
    if (facts.given != SCOPE_NONE)
        return {facts.given, facts.given == SCOPE_ALL_USERS ? "/ALLUSERS was given" : "/CURRENTUSER was given"};
    if (facts.wizard && facts.installed[SCOPE_ALL_USERS] != facts.installed[SCOPE_CURRENT_USER])
        return facts.installed[SCOPE_ALL_USERS] ? ScopeChoice{SCOPE_ALL_USERS, "Velari is installed for all users"}
                                                : ScopeChoice{SCOPE_CURRENT_USER, "Velari is installed for the current user"};
    return facts.elevated ? ScopeChoice{SCOPE_ALL_USERS, "the installer has administrator rights"}
                          : ScopeChoice{SCOPE_CURRENT_USER, "the installer has no administrator rights"};
}

bool ComposeElevatedArguments(char* out, size_t size, const InstallOptions& options, const char* handoverName)
{
    const char* const MODES[] = {"", " /SILENT", " /VERYSILENT"};
    struct { const char* name; const char* value; } values[] = {
        {"/DIR", options.targetFolder}, {"/GAMEDIR", options.gameFolder}, {"/ELEVATEDLOG", handoverName}};
    int length = snprintf(out, size, "/ALLUSERS%s%s%s", MODES[options.mode],
                          options.noCloseApplications ? " /NOCLOSEAPPLICATIONS" : "",
                          options.noRestartApplications ? " /NORESTARTAPPLICATIONS" : "");
    // A path can't hold a quote, so quoting the whole switch keeps its blanks.
    for (const auto& value : values)
        if (value.value && length >= 0 && static_cast<size_t>(length) < size)
            length += snprintf(out + length, size - length, " \"%s=%s\"", value.name, value.value);
    if (length >= 0 && static_cast<size_t>(length) < size)
        return true;
    if (size > 0)
        out[0] = '\0';
    return false;
}

OtherWidthView FindOtherWidthView(bool program64Bit, bool windows64Bit)
{
    if (!windows64Bit)
        return OTHER_VIEW_NONE;
    return program64Bit ? OTHER_VIEW_32 : OTHER_VIEW_64;
}

int ExitCodeAfterElevated(ElevatedEnd end, uint32_t exitCode)
{
    switch (end) {
    case ELEVATED_EXITED: return static_cast<int>(exitCode);
    case ELEVATED_DECLINED: return EXIT_CANCELLED;
    default: return EXIT_INCOMPLETE;
    }
}
