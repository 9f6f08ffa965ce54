// The kept changes' files on POSIX, for the native build of the track logic:
// the folder named by VELARI_KEPT_FOLDER, or one in the home folder. The
// window's parts (the timer, the other editors) are the caller's.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "file_replace.h"
#include "kept_changes_platform.h"

bool KeptChangesFolder(char (&folder)[TRACK_PATH_SIZE], bool make)
{
    const char* named = std::getenv("VELARI_KEPT_FOLDER");
    const char* home = std::getenv("HOME");
    const int length = named ? std::snprintf(folder, sizeof folder, "%s/", named)
                             : std::snprintf(folder, sizeof folder, "%s/.velari-recovery/", home ? home : ".");
    if (length <= 0 || static_cast<size_t>(length) >= sizeof folder)
        return false;
    if (make)
        mkdir(folder, 0700);
    return true;
}

void ListFolder(const char* folder, const char* ending, void (*found)(const char* name, void* context), void* context)
{
    DIR* listing = opendir(folder);
    if (!listing)
        return;
    const size_t endingLength = std::strlen(ending);
    while (const dirent* entry = readdir(listing)) {
        const size_t length = std::strlen(entry->d_name);
        if (length > endingLength && std::strcmp(entry->d_name + length - endingLength, ending) == 0)
            found(entry->d_name, context);
    }
    closedir(listing);
}

bool ReadFileStamp(const char* path, FileStamp& stamp)
{
    struct stat status;
    if (stat(path, &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    stamp.size = static_cast<uint64_t>(status.st_size);
    stamp.time = static_cast<uint64_t>(status.st_mtim.tv_sec) * 1000000000u + status.st_mtim.tv_nsec;
    return true;
}

bool MoveFileOver(const char* from, const char* to)
{
    return ReplaceFileWithNew(from, to);
}
