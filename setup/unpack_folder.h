// The setup program's folder below the user's temporary folder: made new,
// for the user only, filled with the payload's files, and removed with all
// it holds.
#ifndef UNPACK_FOLDER_H
#define UNPACK_FOLDER_H

#include <windows.h>

#include "payload_table.h"

// Makes the folder under a name of its own and gives it with its
// backslash; 0, or the system's error.
DWORD MakeUnpackFolder(char* folder, size_t size);
// Writes each file of the table into folder; 0, or the system's error with
// the name of the file that could not be written.
DWORD UnpackPayload(const char* folder, const PayloadTable& table, const unsigned char* payload, const char** failed);
// The folder and everything in it; a folder link inside is removed, never
// followed.
void RemoveUnpackFolder(const char* folder);

#endif
