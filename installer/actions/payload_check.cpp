#include "payload_check.h"

#include <cstdio>
#include <cstring>

PayloadVerdict JudgePayloadFile(const char* compressedName, const unsigned char (&digest)[SHA256_SIZE],
                                const PayloadDigest* table, size_t count)
{
    char text[2 * SHA256_SIZE + 1];
    Sha256Text(digest, text);
    for (size_t i = 0; i < count; ++i)
        if (strcmp(table[i].compressedName, compressedName) == 0)
            return strcmp(table[i].sha256, text) == 0 ? PAYLOAD_WHOLE : PAYLOAD_DAMAGED;
    return PAYLOAD_DAMAGED;
}

const char* PayloadVerdictReason(PayloadVerdict verdict)
{
    switch (verdict) {
    case PAYLOAD_MISSING: return "the file is missing";
    case PAYLOAD_UNREADABLE: return "the file can't be read";
    case PAYLOAD_DAMAGED: return "the file is damaged or not from this release";
    default: return nullptr;
    }
}

// Windows shows a zip as a folder, and install.exe started there finds
// itself alone: the usual reason for a missing file.
void ComposePayloadMessage(PayloadVerdict verdict, const char* folder, const char* compressedName, char* out,
                           size_t size)
{
    const char* format =
        verdict == PAYLOAD_MISSING
            ? "Velari Installer can't find the file %s in %s, so nothing was installed.\n\n"
              "Unpack the whole zip file into a folder first and start install.exe there, or take Velari's setup program."
        : verdict == PAYLOAD_UNREADABLE
            ? "Velari Installer can't read the file %s in %s, so nothing was installed.\n\n"
              "Another program may be using it: close that program and start the installer again."
            : "The file %s in %s is damaged or not from this release of Velari, so nothing was installed.\n\n"
              "Please download Velari again.";
    snprintf(out, size, format, compressedName, folder);
}
