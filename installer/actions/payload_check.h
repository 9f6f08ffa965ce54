// Whether the compressed files beside install.exe are this release's own:
// each one's SHA-256 against the digests the build put into the program
// (payload_digests.h), so that its signature covers them. Free of Windows
// so that the verdicts and their texts can be tried anywhere.
#ifndef PAYLOAD_CHECK_H
#define PAYLOAD_CHECK_H

#include <cstddef>

#include "sha256.h"

struct PayloadDigest {
    const char* compressedName;
    const char* sha256;  // hexadecimal, small letters
};

enum PayloadVerdict { PAYLOAD_WHOLE, PAYLOAD_MISSING, PAYLOAD_UNREADABLE, PAYLOAD_DAMAGED };

// A file read whole, by its digest; one the table does not name is not of
// this release either.
PayloadVerdict JudgePayloadFile(const char* compressedName, const unsigned char (&digest)[SHA256_SIZE],
                                const PayloadDigest* table, size_t count);
// For the log's line: why the file can't be installed.
const char* PayloadVerdictReason(PayloadVerdict verdict);
// What the person is told, naming the file in folder and what to do.
void ComposePayloadMessage(PayloadVerdict verdict, const char* folder, const char* compressedName, char* out,
                           size_t size);

#endif
