#include "unpack_rules.h"

#include <cstdio>
#include <cstring>

#include "path_size.h"

namespace {

// snprintf's result as a truth value: the whole text fitted.
bool Fitted(int length, char* out, size_t size)
{
    if (length >= 0 && static_cast<size_t>(length) < size)
        return true;
    if (size > 0)
        out[0] = '\0';
    return false;
}

}  // namespace

bool ComposeUnpackFolder(char* out, size_t size, const char* temporary, uint32_t process, uint64_t time,
                         uint32_t random)
{
    const size_t length = strlen(temporary);
    char name[64];
    snprintf(name, sizeof name, "Velari-setup-%08lx-%016llx-%08lx\\", static_cast<unsigned long>(process),
             static_cast<unsigned long long>(time), static_cast<unsigned long>(random));
    if (length == 0) {
        if (size > 0)
            out[0] = '\0';
        return false;
    }
    return JoinPath(out, size, temporary, temporary[length - 1] == '\\' ? "" : "\\", name);
}

unsigned long MakeFreshUnpackFolder(char* out, size_t size, const char* temporary, uint32_t process, uint64_t time,
                                    uint32_t (*random)(), unsigned long (*make)(const char* folder))
{
    unsigned long error = FOLDER_NAME_TAKEN;
    for (int attempt = 0; attempt < UNPACK_FOLDER_ATTEMPTS && error == FOLDER_NAME_TAKEN; ++attempt) {
        if (!ComposeUnpackFolder(out, size, temporary, process, time, random()))
            return FOLDER_NAME_TOO_LONG;
        error = make(out);
    }
    if (error && size > 0)
        out[0] = '\0';
    return error;
}

bool ComposeUserOnlyDescriptor(char* out, size_t size, const char* userSid)
{
    // S-1-<authority>-<sub-authority>...: digits and dashes only, so that
    // nothing of it can be read as more of the descriptor.
    bool wellFormed = strncmp(userSid, "S-1-", 4) == 0 && userSid[4] >= '0' && userSid[4] <= '9';
    for (const char* c = userSid + 4; wellFormed && *c; ++c)
        wellFormed = (*c >= '0' && *c <= '9') || (*c == '-' && c[1] >= '0' && c[1] <= '9');
    if (!wellFormed) {
        if (size > 0)
            out[0] = '\0';
        return false;
    }
    // P: protected, nothing inherited; OICI: handed down to every file and
    // folder made inside.
    return Fitted(snprintf(out, size, "O:%sD:P(A;OICI;FA;;;%s)(A;OICI;FRFX;;;SY)(A;OICI;FRFX;;;BA)", userSid, userSid),
                  out, size);
}

const char* ArgumentsAfterProgram(const char* commandLine)
{
    const char* at = commandLine;
    if (*at == '"') {
        for (++at; *at && *at != '"'; ++at) {
        }
        if (*at)
            ++at;
    } else {
        for (; *at && *at != ' ' && *at != '\t'; ++at) {
        }
    }
    while (*at == ' ' || *at == '\t')
        ++at;
    return at;
}

bool ComposeInstallerCommand(char* out, size_t size, const char* folder, const char* installer,
                             const char* arguments)
{
    return Fitted(snprintf(out, size, "\"%s%s\"%s%s", folder, installer, *arguments ? " " : "", arguments), out,
                  size);
}
