#include "help_viewer.h"

#include <windows.h>
#include <htmlhelp.h>

#include <cstring>

#include "dll_search.h"
#include "help_topics.h"
#include "main_window.h"
#include "path_size.h"
#include "short_path.h"

HtmlHelpProc htmlHelp;

namespace {

const char WIN_HELP_VIEWER_CLASS[] = "MS_WINHELP";

bool htmlHelpLookedUp;
DWORD_PTR helpCookie;

// The viewers look for a bare name only in the current and the Windows
// folder, and an editor started by opening a track runs in the track's: the
// help files are named by their path beside the program file.
bool HelpFilePath(char (&path)[PATH_SIZE], const char* name)
{
    char program[PATH_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    char* slash = length > 0 && length < sizeof program ? std::strrchr(program, '\\') : nullptr;
    if (!slash)
        return false;
    slash[1] = '\0';
    if (!JoinPath(path, sizeof path, program, name))
        return false;
    UseShortFormBeyondAscii(path, sizeof path);
    return true;
}

bool FindHtmlHelp()
{
    if (!htmlHelp && !htmlHelpLookedUp) {
        htmlHelpLookedUp = true;
        if (HMODULE viewer = LoadSystemLibrary("hhctrl.ocx"))
            htmlHelp = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(GetProcAddress(viewer, "HtmlHelpA")));
    }
    return htmlHelp != nullptr;
}

// The HTML Help file at page, or at its contents for a null page; false
// when the file or its viewer is missing or no window shows.
bool ShowHtmlHelp(const char* page)
{
    char path[PATH_SIZE], topic[PATH_SIZE];
    if (!HelpFilePath(path, HTML_HELP_FILE_NAME) || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ||
        !FindHtmlHelp())
        return false;
    if (!page)
        return htmlHelp(mainWindow, path, HH_DISPLAY_TOC, 0) != nullptr;
    return JoinPath(topic, sizeof topic, path, "::/", page) &&
           htmlHelp(mainWindow, topic, HH_DISPLAY_TOPIC, 0) != nullptr;
}

// The WinHelp file's contents and index, as the systems before HTML Help
// show it.
void ShowWinHelp()
{
    char helpFile[PATH_SIZE];
    if (!HelpFilePath(helpFile, WIN_HELP_FILE_NAME) || WinHelpA(mainWindow, helpFile, HELP_FINDER, 0))
        return;
    // The call fails when the viewer it started has no window yet: ask
    // again once it has, but start no second viewer.
    for (int wait = 0; wait < 50 && !FindWindowA(WIN_HELP_VIEWER_CLASS, nullptr); ++wait)
        Sleep(100);
    if (FindWindowA(WIN_HELP_VIEWER_CLASS, nullptr))
        WinHelpA(mainWindow, helpFile, HELP_FINDER, 0);
}

}  // namespace

void InitializeHelp()
{
    if (FindHtmlHelp())
        htmlHelp(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&helpCookie));
}

void UninitializeHelp()
{
    if (htmlHelp)
        htmlHelp(nullptr, nullptr, HH_UNINITIALIZE, helpCookie);
}

bool HelpTakesMessage(MSG& message)
{
    return htmlHelp && htmlHelp(nullptr, nullptr, HH_PRETRANSLATEMESSAGE, reinterpret_cast<DWORD_PTR>(&message));
}

void ShowHelpContents()
{
    if (!ShowHtmlHelp(nullptr))
        ShowWinHelp();
}

void ShowHelpOnFocus()
{
    HWND control = GetFocus();
    while (control && GetParent(control) != mainWindow)
        control = GetParent(control);
    if (!ShowHtmlHelp(control ? HelpPageOfControl(GetDlgCtrlID(control)) : nullptr))
        ShowWinHelp();
}

void CloseHelp()
{
    if (htmlHelp)
        htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    char helpFile[PATH_SIZE];
    if (HelpFilePath(helpFile, WIN_HELP_FILE_NAME))
        WinHelpA(mainWindow, helpFile, HELP_QUIT, 0);
}
