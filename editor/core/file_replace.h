// Putting a completely written file in the place of another, which the
// platform layer provides (rename natively, MoveFileExA on Windows).
#ifndef VELARI_FILE_REPLACE_H
#define VELARI_FILE_REPLACE_H

// Moves newFile onto target, replacing target if it exists. On failure
// target is untouched and newFile is still there.
bool ReplaceFileWithNew(const char* newFile, const char* target);

#endif
