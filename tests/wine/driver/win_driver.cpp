#include "win_driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace e2e {

namespace {

std::vector<Reply> script;
size_t replied;
HWND acting;  // the dialog whose act runs: not answered again meanwhile

BOOL CALLBACK FindActiveDialog(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) || ClassOf(window) != "#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM texts)
{
    *reinterpret_cast<std::string*>(texts) += (IsWindowEnabled(child) ? "" : "~") + TextOf(child) + "|";
    return TRUE;
}

// A dialog's control texts as "|text|text|", "~" before a disabled one's.
std::string DialogTexts(HWND dialog)
{
    std::string texts = "|";
    EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Each text the control shows, measured with its own font against the room
// it draws in; lists, trees, bars, pictures and frames show none of their own.
BOOL CALLBACK CollectCutText(HWND control, LPARAM cut)
{
    const std::string name = ClassOf(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE), type = style & SS_TYPEMASK, button = style & BS_TYPEMASK;
    const int edge = GetSystemMetrics(SM_CXEDGE);
    RECT client = {};
    GetClientRect(control, &client);
    SIZE room = {client.right, client.bottom};
    std::vector<std::string> texts = {TextOf(control)};
    UINT format = DT_SINGLELINE | DT_NOPREFIX;
    if (!lstrcmpiA(name.c_str(), "ComboBox")) {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control, &info);
        // An item's text starts one pixel in and is clipped to the item area.
        room = {info.rcItem.right - info.rcItem.left - 1, info.rcItem.bottom - info.rcItem.top};
        texts.clear();
        for (LRESULT i = 0; i < SendMessageA(control, CB_GETCOUNT, 0, 0); ++i) {
            char item[MAX_PATH] = "";
            if (SendMessageA(control, CB_GETLBTEXTLEN, i, 0) < LRESULT(sizeof item))
                SendMessageA(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            texts.push_back(item);
        }
    } else if (!lstrcmpiA(name.c_str(), "Static") && type <= SS_RIGHT) {
        format = DT_WORDBREAK | (type == SS_CENTER ? DT_CENTER : 0) | (style & SS_NOPREFIX ? DT_NOPREFIX : 0);
    } else if (!lstrcmpiA(name.c_str(), "Edit")) {
        const LRESULT margins = SendMessageA(control, EM_GETMARGINS, 0, 0);
        room.cx -= LOWORD(margins) + HIWORD(margins);
    } else if (!lstrcmpiA(name.c_str(), "Button") && button != BS_GROUPBOX && button != BS_OWNERDRAW) {
        // A push button's raised edges and focus frame; a check box's box and its gap.
        const bool push = button <= BS_DEFPUSHBUTTON;
        room = {room.cx - (push ? 4 * edge : GetSystemMetrics(SM_CXMENUCHECK) + 2 * edge), room.cy - (push ? 4 * edge : 0)};
        format = DT_SINGLELINE;
    } else {
        return TRUE;
    }
    HDC context = GetDC(control);
    HGDIOBJ old = SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    auto size = [](LONG width, LONG height) { return std::to_string(width) + "x" + std::to_string(height); };
    for (const std::string& text : texts) {
        RECT needed = {0, 0, room.cx, 0};
        DrawTextA(context, text.c_str(), -1, &needed, format | DT_CALCRECT);
        if (IsWindowVisible(control) && !text.empty() && (needed.right > room.cx || needed.bottom > room.cy))
            *reinterpret_cast<std::string*>(cut) += name + " \"" + text + "\" needs " + size(needed.right, needed.bottom) +
                ", has " + size(room.cx, room.cy) + "; ";
    }
    SelectObject(context, old);
    ReleaseDC(control, context);
    return TRUE;
}

// The enabled dialog is the innermost: its owner is disabled while it runs.
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindActiveDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || dialog == acting)
        return;
    const std::string caption = TextOf(dialog), texts = DialogTexts(dialog);
    int button = GetDlgItem(dialog, IDCANCEL) ? IDCANCEL : GetDlgItem(dialog, IDOK) ? IDOK : IDYES;
    if (replied < script.size() && caption == script[replied].caption) {
        const Reply reply = script[replied++];
        for (const std::string& part : reply.shows)
            EXPECT_NE(texts.find(part), std::string::npos) << caption << " shows " << texts << ", not " << part;
        EXPECT_EQ(CutTexts(dialog), "") << caption << " cuts texts off at " << AtScreenDpi(96) << " dpi";
        if (reply.act) {
            HWND outer = acting;
            acting = dialog;
            reply.act(dialog);
            acting = outer;
        }
        button = reply.button;
    } else {
        ADD_FAILURE() << "unexpected " << caption << " " << texts.substr(0, 200) << " (reply " << replied << ")";
    }
    if (button && IsWindow(dialog))
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

}  // namespace

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[4096] = "";
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text - 1, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                             REPLY_TIMEOUT_MS, &result))
        return "<no reply>";
    return text;
}


HWND FileNameField(HWND dialog)
{
    // The explorer-style dialog takes the name in the edit of combo box
    // cmb13; older templates have a plain edit, edt1.
    if (HWND combo = GetDlgItem(dialog, 0x47C)) {
        HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
        return edit ? edit : combo;
    }
    return GetDlgItem(dialog, 0x480);
}

void StartAnsweringDialogs()
{
    SetTimer(nullptr, 0, 20, AnswerDialog);
}

void ExpectReplies(std::vector<Reply> replies)
{
    script = std::move(replies);
    replied = 0;
}

void ExpectAllReplied()
{
    EXPECT_EQ(replied, script.size()) << "replies asked for; next " << (replied < script.size() ? script[replied].caption : "");
    script.clear();
    replied = 0;
}

void Pump(bool (*translate)(MSG&))
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT || (translate && translate(message)))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool StartProgram(const char* exePath, const char* arguments, const char* currentDir, Program* program)
{
    std::string line = std::string("\"") + exePath + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exePath, &line[0], nullptr, nullptr, FALSE, 0, nullptr, currentDir, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    *program = {info.hProcess, info.dwProcessId};
    return true;
}

long WaitProgramExit(const Program& program, DWORD ms)
{
    DWORD code = 0;
    if (!program.process || WaitForSingleObject(program.process, ms) != WAIT_OBJECT_0)
        return -1;
    GetExitCodeProcess(program.process, &code);
    return static_cast<long>(code);
}

void EndProgram(Program* program)
{
    if (!program->process)
        return;
    if (WaitForSingleObject(program->process, 0) == WAIT_TIMEOUT && TerminateProcess(program->process, 3)) {
        WaitForSingleObject(program->process, EXIT_TIMEOUT_MS);
        RemoveKeptChanges();
    }
    CloseHandle(program->process);
    *program = Program();
}

struct Search {
    DWORD pid;
    const char *className, *title;
    HWND found;
};

BOOL CALLBACK FindTopWindow(HWND window, LPARAM param)
{
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.pid && owner != search.pid) || !IsWindowVisible(window) ||
        (search.className && ClassOf(window) != search.className) || (search.title && TextOf(window) != search.title))
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND WaitTopWindow(DWORD pid, const char* className, const char* title, DWORD ms)
{
    Search search = {pid, className, title, nullptr};
    // Looked for before each wait, so that ms 0 looks once and waits not at all.
    for (const DWORD start = GetTickCount();; Sleep(20)) {
        EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > ms)
            return search.found;
    }
}

bool WaitWindowGone(HWND window, DWORD ms)
{
    for (const DWORD start = GetTickCount(); IsWindow(window) && IsWindowVisible(window); Sleep(10))
        if (GetTickCount() - start > ms)
            return false;
    return true;
}

HWND WaitMessageBox(DWORD pid, const char* caption, DWORD ms)
{
    HWND box = WaitTopWindow(pid, "#32770", caption, ms);
    return box && GetDlgItem(box, 0xFFFF) ? box : nullptr;
}

std::string MessageBoxText(HWND box)
{
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? TextOf(text) : std::string("<no text>");
}

bool PressDialogButton(HWND dialog, int buttonId)
{
    HWND button = GetDlgItem(dialog, buttonId);
    return button &&
           PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) &&
           WaitWindowGone(dialog);
}

std::string DriverFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    char* slash = std::strrchr(path, '\\');
    return slash ? std::string(path, slash + 1) : std::string(".\\");
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && file.flush();
}

std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

bool FileExists(const std::string& path)
{
    return !(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);  // INVALID_FILE_ATTRIBUTES has it
}

bool MakeFolders(const std::string& path)
{
    const int made = SHCreateDirectoryExA(nullptr, path.c_str(), nullptr);
    return made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS;
}

bool RemoveTree(const std::string& path)
{
    if (path.size() <= 3 || _strnicmp(path.c_str(), "D:\\", 3) != 0)
        return false;
    std::string from = path + '\0';  // the list ends with a second zero
    SHFILEOPSTRUCTA remove = {};
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES || SHFileOperationA(&remove) == 0;
}

std::string KeptChangesFolder()
{
    char local[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    return std::string(local) + "\\Velari\\Recovery\\";
}

void RemoveKeptChanges()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((KeptChangesFolder() + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        DeleteFileA((KeptChangesFolder() + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string StartMenuFolder(const char* name)
{
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::string(programs) + "\\" + name + "\\";
}

std::string RegistryText(HKEY root, const char* key, const char* name)
{
    char value[MAX_PATH] = "";
    DWORD type = 0, size = sizeof value - 1;
    if (RegGetValueA(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, value, &size) != ERROR_SUCCESS)
        return "<none>";
    return type == REG_SZ && size == strlen(value) + 1 ? value : "<not text>";
}

std::string CutTexts(HWND window)
{
    std::string cut;
    EnumChildWindows(window, CollectCutText, reinterpret_cast<LPARAM>(&cut));
    return cut;
}

int BitmapWidth(HWND picture)
{
    BITMAP bitmap = {};
    GetObjectA(reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof bitmap, &bitmap);
    return bitmap.bmWidth;
}

int AtScreenDpi(int pixels)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

// What the screen shows where the window is, as a 24-bit BMP file.
bool Screenshot(const char* name, HWND window)
{
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return false;
    // A window just shown may not have reached the screen yet.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = rect.right - rect.left;
    info.biHeight = rect.bottom - rect.top;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = ((info.biWidth * 3 + 3) & ~3) * info.biHeight;
    void* pixels = nullptr;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, info.biWidth, info.biHeight, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const BITMAPFILEHEADER file = {0x4D42, DWORD(sizeof file + sizeof info + info.biSizeImage), 0, 0, DWORD(sizeof file + sizeof info)};
    const bool written = copied && MakeFolders("D:\\.e2e-shots") &&
                         WriteBytes(std::string("D:\\.e2e-shots\\") + name + ".bmp",
                                    std::string(reinterpret_cast<const char*>(&file), sizeof file) +
                                        std::string(reinterpret_cast<const char*>(&info), sizeof info) +
                                        std::string(static_cast<const char*>(pixels), info.biSizeImage));
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

}  // namespace e2e

