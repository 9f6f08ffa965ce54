// The main window's part in keeping unsaved changes: the start that brings
// them back, and the end of the session (or an installer closing the
// editor), which must neither ask nor lose them.
#ifndef VELARI_RECOVERY_WINDOW_H
#define VELARI_RECOVERY_WINDOW_H

#include <windows.h>

// The track of the command line, or kept changes brought back instead
// (with none asked for, or for that same track).
void LoadStartTrack(const char* commandLine);
// WM_QUERYENDSESSION: unsaved changes are kept and the editor asks to be
// started again with its track; it never holds the session up.
LRESULT SessionEndQueried(HWND window, WPARAM wParam, LPARAM lParam);
// WM_ENDSESSION: when the session does end, or an installer closes the
// editor, it ends at once without a question and without saving.
void SessionEnds(bool ending);

#endif
