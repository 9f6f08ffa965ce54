// What the menu, the push buttons and the controls make the editor do: one
// function per command id. The *Notice functions take the control's
// notification code and act only on the one that counts.
#ifndef VELARI_COMMANDS_H
#define VELARI_COMMANDS_H

#include <windows.h>

#include "track_document.h"

// Loads the track at the document's path; the piece list then has the focus.
bool LoadTrackIntoWindow();
// A track now in the document: its controls take clicks, the piece list the focus.
void ShowLoadedTrack();

void ExitCommand();
void SaveCommand();
void SaveAsCommand();
void OpenCommand();
void RefreshCommand();
void AboutCommand();
void HelpContentsCommand(int notification);
void UndoCommand();
void RedoCommand();

void PitchFieldNotice(int notification);
void BankFieldNotice(int notification);
void PieceListNotice(int notification);
void PieceTypeNotice(int notification);
void AttributesNotice(int notification);
void MatterhornNotice(int notification);
void PieceLengthNotice(int notification);

// WM_DROPFILES: the first file dropped is opened as Open would.
void TracksDropped(HDROP drop);

// WM_INITMENU: Save, Save As and Refresh once a track is loaded; Undo and
// Redo while there is a step to take back or make again.
void EnableMenuItems(HMENU menu);
// The controls that work on a track take clicks only once one is loaded.
void EnableTrackControls(HWND window);
// WM_CLOSE, from Exit or from the window frame.
void CloseRequested();

#endif
