// For the programs that run with administrator rights (the installer and
// the uninstaller): DLLs loaded by name come from the system's folder only,
// never from the program's own folder (a download folder, the temporary
// folder) nor the current one, where anybody may have put a DLL of that
// name. Called first thing in the entry point. Header only: the programs
// share no objects.
#ifndef DLL_SEARCH_H
#define DLL_SEARCH_H

#include <windows.h>

#include "path_size.h"

inline void RestrictDllSearch()
{
    // Looked up: the Windows 95 generation and an unpatched Windows 7 lack
    // it; there, SetDllDirectoryA("") at least takes the current folder out.
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
    typedef BOOL(WINAPI * SetDllDirectoryProc)(LPCSTR);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const FARPROC restrict = GetProcAddress(kernel, "SetDefaultDllDirectories");
    const FARPROC dropCurrent = GetProcAddress(kernel, "SetDllDirectoryA");
    if (!restrict || !reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(restrict))(
                         0x800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */))
        if (dropCurrent)
            reinterpret_cast<SetDllDirectoryProc>(reinterpret_cast<void*>(dropCurrent))("");
}

// A DLL loaded by its full path in the system's folder, for the programs
// that don't restrict the search: loaded by name, one lying in the current
// folder or beside the program (a track's folder, a download) would come
// first. Null when it can't be loaded.
inline HMODULE LoadSystemLibrary(const char* name)
{
    char folder[PATH_SIZE], path[PATH_SIZE];
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder || !JoinPath(path, sizeof path, folder, "\\", name))
        return nullptr;
    return LoadLibraryA(path);
}

#endif
