// Feeds arbitrary bytes to the setup program's payload check: the first two
// bytes give the table's length, the table follows, the payload is the
// rest. An accepted table describes the payload exactly, every file inside
// it, and each digest is checked within its bounds.
#include <cstdlib>

#include "payload_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t tableLength = (static_cast<size_t>(data[0]) << 8 | data[1]) % (size - 1);
    const char* table = reinterpret_cast<const char*>(data + 2);
    const unsigned char* payload = data + 2 + tableLength;
    const size_t payloadSize = size - 2 - tableLength;
    PayloadTable read;
    if (ReadPayloadTable(table, tableLength, payloadSize, &read))
        return 0;
    uint64_t end = 0;
    for (int i = 0; i < read.count; ++i) {
        if (read.files[i].offset != end || read.files[i].size > payloadSize - end)
            abort();
        end += read.files[i].size;
    }
    if (end != payloadSize)
        abort();
    CheckPayloadDigests(read, payload);
    return 0;
}
