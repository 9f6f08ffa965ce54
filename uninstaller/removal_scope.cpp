#include "removal_scope.h"

#include <cstdio>

const char COPY_QUESTION[] =
    "No installation of Velari is registered in this folder. Remove the Velari files in this folder? "
    "The registry, the shortcuts and the list of programs are left alone.";

namespace {

const char COPY_REMOVED_TEXT[] = "The Velari files in this folder were removed. No installation registered elsewhere was touched.";
const char COPY_LEFT_TEXT[] = "The Velari files in this folder were removed, except for these, which could not be removed:\n\n";

}  // namespace

void ComposeCopyClosingMessage(const RemovalReport& report, char* out, size_t size)
{
    if (report.failures == 0)
        snprintf(out, size, "%s", COPY_REMOVED_TEXT);
    else
        snprintf(out, size, "%s%s", COPY_LEFT_TEXT, report.names);
}
