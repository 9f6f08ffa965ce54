#include "payload_table.h"

#include <cstdio>
#include <cstring>

const char PAYLOAD_TABLE_HEADING[] = "Velari setup payload 1";
const char PAYLOAD_INSTALLER[] = "install.exe";

namespace {

char reason[160];

const char* Refuse(const char* format, const char* name = "")
{
    snprintf(reason, sizeof reason, format, name);
    return reason;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* first, const char* second)
{
    for (; *first || *second; ++first, ++second)
        if (LowerAscii(*first) != LowerAscii(*second))
            return false;
    return true;
}

// Letters, digits, '.', '-' and '_' only, not starting with a dot: no
// folder, no drive, no device name's colon can slip into a path.
bool IsPlainName(const char* name, size_t length)
{
    if (length == 0 || length >= PAYLOAD_NAME_SIZE || name[0] == '.')
        return false;
    for (size_t i = 0; i < length; ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
              c == '_'))
            return false;
    }
    return true;
}

// One line, without its '\n': digest, blank, size, blank, name.
bool ReadLine(const char* line, size_t length, PayloadFile* file)
{
    const size_t digits = 2 * SHA256_SIZE;
    if (length < digits + 4 || line[digits] != ' ')
        return false;
    for (size_t i = 0; i < digits; ++i)
        if (!((line[i] >= '0' && line[i] <= '9') || (line[i] >= 'a' && line[i] <= 'f')))
            return false;
    memcpy(file->digest, line, digits);
    file->digest[digits] = '\0';
    size_t at = digits + 1;
    file->size = 0;
    const size_t sizeStart = at;
    for (; at < length && line[at] >= '0' && line[at] <= '9'; ++at) {
        if (at - sizeStart >= 15)  // more than any payload a program can hold
            return false;
        file->size = 10 * file->size + static_cast<uint64_t>(line[at] - '0');
    }
    if (at == sizeStart || at >= length || line[at] != ' ')
        return false;
    ++at;
    if (!IsPlainName(line + at, length - at))
        return false;
    memcpy(file->name, line + at, length - at);
    file->name[length - at] = '\0';
    return true;
}

}  // namespace

const char* ReadPayloadTable(const char* text, size_t length, uint64_t payloadSize, PayloadTable* table)
{
    table->count = 0;
    const size_t heading = strlen(PAYLOAD_TABLE_HEADING);
    if (length <= heading || memcmp(text, PAYLOAD_TABLE_HEADING, heading) != 0 || text[heading] != '\n')
        return Refuse("the table of its files is not of a known form");
    uint64_t offset = 0;
    for (size_t at = heading + 1; at < length;) {
        const char* end = static_cast<const char*>(memchr(text + at, '\n', length - at));
        if (!end)
            return Refuse("the table of its files ends in the middle of a line");
        if (table->count == PAYLOAD_MAX_FILES)
            return Refuse("the table names too many files");
        PayloadFile& file = table->files[table->count];
        if (!ReadLine(text + at, static_cast<size_t>(end - (text + at)), &file)) {
            snprintf(reason, sizeof reason, "line %d of the table of its files is not understood", table->count + 2);
            return reason;
        }
        for (int i = 0; i < table->count; ++i)
            if (SameName(table->files[i].name, file.name))
                return Refuse("the table names %s twice", file.name);
        if (file.size > payloadSize - offset)
            return Refuse("%s runs past the end of the files", file.name);
        file.offset = offset;
        offset += file.size;
        ++table->count;
        at = static_cast<size_t>(end - text) + 1;
    }
    if (offset != payloadSize)
        return Refuse("the files are longer than the table says");
    for (int i = 0; i < table->count; ++i)
        if (SameName(table->files[i].name, PAYLOAD_INSTALLER))
            return nullptr;
    return Refuse("the table names no %s", PAYLOAD_INSTALLER);
}

const char* CheckPayloadDigests(const PayloadTable& table, const unsigned char* payload)
{
    for (int i = 0; i < table.count; ++i) {
        const PayloadFile& file = table.files[i];
        Sha256 sha;
        Sha256Start(&sha);
        Sha256Add(&sha, payload + file.offset, static_cast<size_t>(file.size));
        unsigned char digest[SHA256_SIZE];
        char text[2 * SHA256_SIZE + 1];
        Sha256Finish(&sha, digest);
        Sha256Text(digest, text);
        if (strcmp(text, file.digest) != 0)
            return Refuse("%s does not match its SHA-256", file.name);
    }
    return nullptr;
}
