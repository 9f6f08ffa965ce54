// The setup program's payload: the release's files one after another in
// one resource, and beside it, in a resource of its own, a table that names
// each file with its size and SHA-256. Both lie inside the program file, so
// its signature covers them. The table is text, one line a file in payload
// order after a first line that names the form:
//   Velari setup payload 1
//   <64 small hexadecimal digits> <size in bytes> <name>
// Free of Windows, so that the rules can be tried anywhere.
#ifndef PAYLOAD_TABLE_H
#define PAYLOAD_TABLE_H

#include <cstddef>
#include <cstdint>

#include "sha256.h"

enum { PAYLOAD_MAX_FILES = 16, PAYLOAD_NAME_SIZE = 32 };

struct PayloadFile {
    char name[PAYLOAD_NAME_SIZE];
    char digest[2 * SHA256_SIZE + 1];  // as sha256sum prints it
    uint64_t offset;                   // in the payload
    uint64_t size;
};

struct PayloadTable {
    PayloadFile files[PAYLOAD_MAX_FILES];
    int count;
};

// The first line of every table of this form.
extern const char PAYLOAD_TABLE_HEADING[];
// The program that the setup program runs once it has unpacked the payload.
extern const char PAYLOAD_INSTALLER[];

// Reads the table and checks it against the payload's size: every line well
// formed, names plain file names that the folder can hold once each, the
// installer among them, and the sizes adding up to the payload's exactly.
// Null when it holds; otherwise why not, in the log's words, and the text
// lasts until the next call.
const char* ReadPayloadTable(const char* text, size_t length, uint64_t payloadSize, PayloadTable* table);

// Each file's bytes against its digest, in table order. Null when all
// match; otherwise which file does not, as above.
const char* CheckPayloadDigests(const PayloadTable& table, const unsigned char* payload);

#endif
