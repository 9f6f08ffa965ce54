#include "file_replace.h"

#include <cstdio>

bool ReplaceFileWithNew(const char* newFile, const char* target)
{
    return std::rename(newFile, target) == 0;
}
