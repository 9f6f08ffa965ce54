// The chosen pieces on the clipboard as text rows, and rows from it pasted
// over the pieces.
#ifndef VELARI_CLIPBOARD_ROWS_H
#define VELARI_CLIPBOARD_ROWS_H

bool ClipboardHoldsText();
void CopyPieceRowsToClipboard();
void PastePieceRowsFromClipboard();

#endif
