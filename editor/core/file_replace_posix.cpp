#include "file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

std::FILE* CreateNewFile(const char* name, bool& exists)
{
    const int descriptor = open(name, O_WRONLY | O_CREAT | O_EXCL, 0666);
    exists = descriptor < 0 && errno == EEXIST;
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = fdopen(descriptor, "wb");
    if (!file)
        close(descriptor);
    return file;
}

bool CloseWrittenThrough(std::FILE* file)
{
    const bool flushed = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    return std::fclose(file) == 0 && flushed;
}

// The rename is on the disk only once the folder that holds it is.
bool ReplaceFileWithNew(const char* newFile, const char* target)
{
    if (std::rename(newFile, target) != 0)
        return false;
    const char* slash = std::strrchr(target, '/');
    const std::string folder = slash ? std::string(target, slash - target + 1) : ".";
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
    return true;
}

void LastSystemErrorText(char* text, size_t size)
{
    std::snprintf(text, size, "%s", std::strerror(errno));
}
