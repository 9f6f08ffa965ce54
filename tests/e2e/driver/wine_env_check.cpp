// Checks the world the end-to-end tests run in, from inside it: the only
// drives are C: and D:, both fixed (nothing leads to the host's file system,
// and a search of the fixed drives sees just these two), and D: takes files.
#include <windows.h>

#include <cstdio>
#include <string>

#include "win_driver.h"

using namespace e2e;

int main()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    const DWORD drives = GetLogicalDrives();
    std::string letters;
    for (int i = 0; i < 26; ++i) {
        if (drives & (1u << i))
            letters += static_cast<char>('A' + i);
    }
    std::printf("drives: %s\n", letters.c_str());
    EXPECT(letters == "CD", "drives %s, expected C and D alone", letters.c_str());
    EXPECT(GetDriveTypeA("C:\\") == DRIVE_FIXED, "C: is of type %u", GetDriveTypeA("C:\\"));
    EXPECT(GetDriveTypeA("D:\\") == DRIVE_FIXED, "D: is of type %u", GetDriveTypeA("D:\\"));

    const std::string probe = "D:\\.e2e-env-check";
    EXPECT(WriteBytes(probe, "probe") && FileExists(probe), "cannot write to D:");
    DeleteFileA(probe.c_str());

    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT(lstrcmpiA(windows, "C:\\windows") == 0, "the Windows folder is %s", windows);

    const int failures = FailureCount();
    std::printf("%d passed, %d failed\n", failures ? 0 : 1, failures ? 1 : 0);
    return failures ? 1 : 0;
}
