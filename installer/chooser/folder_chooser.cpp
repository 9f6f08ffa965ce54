// The folder chooser, dialog 205: a path box, a tree of one chain of folders
// with the subfolders of its deepest one, and a box of the fixed drives. Its
// two roles share all of it but the caption, the prompt and the folder.
#include "folder_chooser.h"

#include <commctrl.h>

#include <cstring>

#include "installer_state.h"
#include "path_text.h"
#include "resource.h"
#include "same_folder.h"
#include "target_folder.h"

namespace {

// Posted by the tree's expansion notification: the tree is rebuilt only once
// the tree has finished with the item it notified about.
const UINT WM_CHOOSER_NAVIGATE = WM_APP + 1;
const int DRIVE_ITEM_HEIGHT = 18;

int rebuilding;
int navigationPending;  // later notifications may name items it removes
NMTREEVIEWA pendingExpansion;
char itemText[PATH_SIZE];

struct ChooserRole {
    const char* caption;  // null: the template's
    const char* prompt;   // null: the template's
    char* folder;
    bool treeFollowsFolder;  // the folder replaces the current drive's entry on opening
    bool ownFolder;          // the folder chosen gets Velari's own below it
};

// The folder last shown on the current drive, or null when that drive is
// not fixed.
char* CurrentEntry()
{
    if (installer.currentDrive < 0 || installer.currentDrive >= DRIVE_COUNT)
        return nullptr;
    return installer.drives[installer.currentDrive].path;
}

// A current drive that isn't fixed (the installer started from a CD-ROM)
// has nothing to show: the chooser opens on the first fixed drive instead.
void MoveToFixedDrive()
{
    for (int drive = 0; !CurrentEntry() && drive < DRIVE_COUNT; ++drive)
        if (installer.drives[drive].path)
            installer.currentDrive = drive;
}

void FillDriveBox(HWND dialog)
{
    char root[] = "A:\\";
    for (int i = 1; i <= DRIVE_COUNT; ++i, ++root[0]) {
        if (!installer.drives[i - 1].fixed)
            continue;
        char label[PATH_SIZE] = "";
        if (!GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0))
            label[0] = '\0';
        char text[PATH_SIZE];
        char letter[] = "A: [";
        letter[0] = root[0];
        JoinPath(text, sizeof text, letter, label, "]");
        const LRESULT at = SendDlgItemMessageA(dialog, IDC_DRIVE_BOX, CB_ADDSTRING, 0,
                                               reinterpret_cast<LPARAM>(text));
        if (at < 0)
            continue;
        SendDlgItemMessageA(dialog, IDC_DRIVE_BOX, CB_SETITEMDATA, at, i - 1);
        if (i - 1 == installer.currentDrive)
            SendDlgItemMessageA(dialog, IDC_DRIVE_BOX, CB_SETCURSEL, at, 0);
    }
}

void MeasureDriveItem(MEASUREITEMSTRUCT* item)
{
    if (item->itemHeight < DRIVE_ITEM_HEIGHT)
        item->itemHeight = DRIVE_ITEM_HEIGHT;
}

void DrawDriveItem(const DRAWITEMSTRUCT* item)
{
    if (item->itemID == static_cast<UINT>(-1))
        return;
    const bool selected = item->itemState & ODS_SELECTED;
    const COLORREF oldText =
        SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const COLORREF oldBack = SetBkColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int unit = LOWORD(GetDialogBaseUnits()) / 4;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(item->hDC, &metrics);
    const int y = (item->rcItem.top + item->rcItem.bottom - metrics.tmHeight) / 2;
    // The box holds only texts of the drives' labels, each under PATH_SIZE.
    itemText[0] = '\0';
    if (SendMessageA(item->hwndItem, CB_GETLBTEXTLEN, item->itemID, 0) < PATH_SIZE)
        SendMessageA(item->hwndItem, CB_GETLBTEXT, item->itemID, reinterpret_cast<LPARAM>(itemText));
    ExtTextOutA(item->hDC, 18 * unit, y, ETO_CLIPPED | ETO_OPAQUE, &item->rcItem, itemText,
                static_cast<UINT>(strlen(itemText)), nullptr);
    SetTextColor(item->hDC, oldText);
    SetBkColor(item->hDC, oldBack);
    DrawIconEx(item->hDC, 4 * unit, item->rcItem.top + 1, installer.driveIcon, 16, 16, 0, nullptr, DI_NORMAL);
    if (item->itemState & ODS_FOCUS)
        DrawFocusRect(item->hDC, &item->rcItem);
}

HTREEITEM InsertFolderItem(HWND tree, HTREEITEM parent, const char* text, int level)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.cchTextMax = PATH_SIZE;
    insert.item.iImage = installer.closedFolderImage;
    insert.item.iSelectedImage = installer.openFolderImage;
    insert.item.lParam = level;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// The subfolders of the entry (hidden ones too) under its deepest chain
// item, each with a placeholder child that makes it expandable. One whose
// path with its backslash would not fit is left out: it could not be entered.
void ListSubfolders(HWND tree, HTREEITEM deepest, const char* entry)
{
    char pattern[PATH_SIZE];
    if (!JoinPath(pattern, sizeof pattern, entry, "*.*"))
        return;
    const int level = FolderLevels(entry) + 2;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        char path[PATH_SIZE];
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !strcmp(found.cFileName, ".") ||
            !strcmp(found.cFileName, "..") || !JoinPath(path, sizeof path, entry, found.cFileName, "\\"))
            continue;
        HTREEITEM folder = InsertFolderItem(tree, deepest, found.cFileName, level);
        InsertFolderItem(tree, folder, "test", level + 1);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void FillFolderTree(HWND tree)
{
    const char* entry = CurrentEntry();
    rebuilding = 1;
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    if (entry) {
        char name[PATH_SIZE];
        HTREEITEM deepest = nullptr;
        for (int level = 1; FolderLevelName(entry, level, name, sizeof name); ++level)
            deepest = InsertFolderItem(tree, deepest, name, level);
        ListSubfolders(tree, deepest, entry);
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(deepest));
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(deepest));
    }
    rebuilding = 0;
}

// Expanding or collapsing an item makes its folder the deepest one shown.
void OnFolderExpanded(HWND tree, const NMTREEVIEWA* notification)
{
    char* entry = CurrentEntry();
    if (rebuilding || !entry)
        return;
    const int level = static_cast<int>(notification->itemNew.lParam);
    if (FolderLevels(entry) >= level) {
        CutFolderToLevel(entry, level);
    } else {
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = notification->itemNew.hItem;
        item.pszText = itemText;
        item.cchTextMax = sizeof itemText;
        char longer[PATH_SIZE];
        if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ||
            !JoinPath(longer, sizeof longer, entry, itemText, "\\"))
            return;
        JoinPath(entry, PATH_SIZE, longer, nullptr);
    }
    FillFolderTree(tree);
}

void ShowEntry(HWND dialog)
{
    const char* entry = CurrentEntry();
    SetDlgItemTextA(dialog, IDC_FOLDER_FIELD, entry ? entry : "");
}

void TakeTypedFolder(HWND dialog, const ChooserRole& role)
{
    char typed[PATH_SIZE + 1];
    GetDlgItemTextA(dialog, IDC_FOLDER_FIELD, typed, sizeof typed);
    char folder[PATH_SIZE], taken[PATH_SIZE];
    if (!TakeFolder(folder, sizeof folder, typed) || !JoinPath(taken, sizeof taken, folder, nullptr) ||
        (role.ownFolder && !AddVelariFolder(taken, sizeof taken))) {
        MessageBoxA(dialog, "This path is too long. Please choose a shorter one.", "Error",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    JoinPath(role.folder, PATH_SIZE, taken, nullptr);
    // The tree opens again where the person was, not in a folder not yet made.
    if (char* entry = CurrentEntry())
        JoinPath(entry, PATH_SIZE, folder, nullptr);
    EndDialog(dialog, IDOK);
}

INT_PTR OnInitDialog(HWND dialog, const ChooserRole& role)
{
    navigationPending = 0;
    MoveToFixedDrive();
    if (role.caption)
        SetWindowTextA(dialog, role.caption);
    FillDriveBox(dialog);
    SetDlgItemTextA(dialog, IDC_FOLDER_FIELD, role.folder);
    char* entry = CurrentEntry();
    if (entry && role.treeFollowsFolder)
        JoinPath(entry, PATH_SIZE, role.folder, nullptr);
    if (role.prompt)
        SetDlgItemTextA(dialog, IDC_FIRST_TEXT, role.prompt);
    HWND tree = GetDlgItem(dialog, IDC_FOLDER_TREE);
    // Without any fixed drive there is nothing to browse: the path box alone.
    ShowWindow(tree, entry ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_DRIVE_BOX), entry ? SW_SHOW : SW_HIDE);
    rebuilding = 1;
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(installer.folderIcons));
    FillFolderTree(tree);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam, const ChooserRole& role)
{
    switch (LOWORD(wParam)) {
    case IDC_DRIVE_BOX: {
        if (HIWORD(wParam) != CBN_SELENDOK)
            return FALSE;
        const LRESULT at = SendDlgItemMessageA(dialog, IDC_DRIVE_BOX, CB_GETCURSEL, 0, 0);
        if (at < 0)
            return TRUE;
        installer.currentDrive = static_cast<int>(SendDlgItemMessageA(dialog, IDC_DRIVE_BOX, CB_GETITEMDATA, at, 0));
        ShowEntry(dialog);
        FillFolderTree(GetDlgItem(dialog, IDC_FOLDER_TREE));
        return TRUE;
    }
    case IDOK: TakeTypedFolder(dialog, role); return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

INT_PTR ChooserDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const ChooserRole& role)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, role);
    case WM_COMMAND: return OnCommand(dialog, wParam, role);
    case WM_MEASUREITEM: MeasureDriveItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); return TRUE;
    case WM_DRAWITEM: DrawDriveItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_FOLDER_TREE || header->code != TVN_ITEMEXPANDEDA)
            return FALSE;
        if (!rebuilding && !navigationPending) {
            navigationPending = 1;
            pendingExpansion = *reinterpret_cast<const NMTREEVIEWA*>(lParam);
            PostMessageA(dialog, WM_CHOOSER_NAVIGATE, 0, 0);
        }
        return TRUE;
    }
    case WM_CHOOSER_NAVIGATE:
        navigationPending = 0;
        OnFolderExpanded(GetDlgItem(dialog, IDC_FOLDER_TREE), &pendingExpansion);
        ShowEntry(dialog);
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK TargetFolderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const ChooserRole role = {nullptr, nullptr, installer.targetFolder, false, true};
    return ChooserDlgProc(dialog, message, wParam, lParam, role);
}

INT_PTR CALLBACK GameFolderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const ChooserRole role = {"Find Gravion!", "Please select the Gravion! Folder.", installer.gameFolder,
                              true, false};
    return ChooserDlgProc(dialog, message, wParam, lParam, role);
}

// Its last level is compared as the same folder, not as a name.
bool AddVelariFolder(char* folder, size_t size)
{
    const char VELARI_FOLDER[] = "Velari\\";
    size_t start = strlen(folder);
    for (start -= start > 0; start > 0 && folder[start - 1] != '\\'; --start) {
    }
    char parent[PATH_SIZE], own[PATH_SIZE];
    memcpy(parent, folder, start);
    parent[start] = '\0';
    if (JoinPath(own, sizeof own, parent, VELARI_FOLDER) && SameFolder(folder, own))
        return true;
    return JoinPath(folder, size, folder, VELARI_FOLDER);
}
