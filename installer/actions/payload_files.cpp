#include "payload_files.h"

#include <cstdio>

#include "install_log.h"
#include "installed_product.h"
#include "installer_state.h"
#include "payload_check.h"
#include "payload_digests.h"

namespace {

const size_t FILE_COUNT = sizeof INSTALLED_FILES / sizeof *INSTALLED_FILES;
HANDLE held[FILE_COUNT];
bool holding;

// Reads the file whole into its digest.
bool DigestOf(HANDLE file, unsigned char (&digest)[SHA256_SIZE])
{
    Sha256 sha;
    Sha256Start(&sha);
    static unsigned char buffer[64 * 1024];
    for (DWORD read;;) {
        if (!ReadFile(file, buffer, sizeof buffer, &read, nullptr))
            return false;
        if (read == 0)
            break;
        Sha256Add(&sha, buffer, read);
    }
    Sha256Finish(&sha, digest);
    return true;
}

// Opened without sharing writes or deletion, and kept so: nobody can change
// or swap the file between the check and its expansion.
PayloadVerdict OpenAndCheck(const char* compressedName, HANDLE* file, DWORD* error)
{
    char path[PATH_SIZE];
    *error = 0;
    if (!JoinPath(path, sizeof path, installer.sourceFolder, compressedName))
        return PAYLOAD_UNREADABLE;
    *file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (*file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return *error == ERROR_FILE_NOT_FOUND || *error == ERROR_PATH_NOT_FOUND ? PAYLOAD_MISSING : PAYLOAD_UNREADABLE;
    }
    unsigned char digest[SHA256_SIZE];
    if (!DigestOf(*file, digest)) {
        *error = GetLastError();
        return PAYLOAD_UNREADABLE;
    }
    return JudgePayloadFile(compressedName, digest, PAYLOAD_DIGESTS, sizeof PAYLOAD_DIGESTS / sizeof *PAYLOAD_DIGESTS);
}

void TellRefusal(PayloadVerdict verdict, const char* compressedName, DWORD error)
{
    LogStep("Check %s%s: %s", installer.sourceFolder, compressedName,
            StepResult(PayloadVerdictReason(verdict), error));
    if (installer.options.mode == INSTALL_VERYSILENT)
        return;
    char text[PATH_SIZE + 400];
    ComposePayloadMessage(verdict, installer.sourceFolder, compressedName, text, sizeof text);
    MessageBoxA(installer.window, text, "Velari Installer", MB_OK | MB_ICONERROR);
}

}  // namespace

bool HoldCheckedPayload()
{
    ReleasePayload();
    holding = true;
    for (size_t i = 0; i < FILE_COUNT; ++i) {
        DWORD error;
        const PayloadVerdict verdict = OpenAndCheck(INSTALLED_FILES[i].compressedName, &held[i], &error);
        if (verdict != PAYLOAD_WHOLE) {
            ReleasePayload();
            TellRefusal(verdict, INSTALLED_FILES[i].compressedName, error);
            return false;
        }
    }
    LogStep("Checked the %d compressed files in %s: each is this release's own", static_cast<int>(FILE_COUNT),
            installer.sourceFolder);
    return true;
}

HANDLE TakeCheckedPayloadFile(size_t index)
{
    if (!holding || index >= FILE_COUNT || held[index] == INVALID_HANDLE_VALUE)
        return INVALID_HANDLE_VALUE;
    HANDLE file = held[index];
    held[index] = INVALID_HANDLE_VALUE;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) != 0) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

void ReleasePayload()
{
    for (HANDLE& file : held) {
        if (holding && file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
    holding = false;
}
