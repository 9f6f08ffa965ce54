#include "file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "replace_stand_in.h"

ReplaceStandIn replaceStandIn;

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

namespace {

// The rename is on the disk only once the folder that holds it is.
void WriteFolderThrough(const char* name)
{
    const char* slash = std::strrchr(name, '/');
    const std::string folder = slash ? std::string(name, slash - name + 1) : ".";
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
}

bool Fail()
{
    errno = EBUSY;
    return false;
}

}  // namespace

// The two moves the system makes, or, as the stand-in asks, its failures
// with the files where the system leaves them.
bool ReplaceKeepingBackup(const char* newFile, const char* target, const char* backup)
{
    replaceStandIn.newFile = newFile;
    struct stat status;
    if (stat(target, &status) != 0)
        return MoveToFreeName(newFile, target);
    // The system opens the old file as a file.
    if (S_ISDIR(status.st_mode)) {
        errno = EISDIR;
        return false;
    }
    switch (replaceStandIn.failure) {
    case REPLACE_FAILS_MOVING_NOTHING:
        return Fail();
    case REPLACE_FAILS_WITH_TRACK_ASIDE:
        std::rename(target, backup);
        return Fail();
    case REPLACE_FAILS_WITH_TRACK_GONE:
        std::remove(target);
        return Fail();
    case REPLACE_WORKS:
        break;
    }
    if (std::rename(target, backup) != 0)
        return false;
    return MoveToFreeName(newFile, target);
}

bool MoveToFreeName(const char* from, const char* to)
{
    const bool held = replaceStandIn.movesFail ||
                      (replaceStandIn.newFileHeld && replaceStandIn.newFile == std::string(from));
    if (held)
        return Fail();
    if (FileExists(to)) {
        errno = EEXIST;
        return false;
    }
    if (std::rename(from, to) != 0)
        return false;
    WriteFolderThrough(to);
    return true;
}

bool FileExists(const char* name)
{
    struct stat status;
    return stat(name, &status) == 0;
}

void LastSystemErrorText(char* text, size_t size)
{
    std::snprintf(text, size, "%s", std::strerror(errno));
}
