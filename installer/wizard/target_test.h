// The test of the target folder, and the folders it makes.
#ifndef TARGET_TEST_H
#define TARGET_TEST_H

// The wizard's automatic page: asks "Create Folder?" when it is missing.
void TestTargetFolder();
// The same test without its questions, "Create Folder?" answered Yes:
// false when the folder can't be used.
bool PrepareTargetFolderSilently();
// An abort takes back the folders this run made, as long as they are empty.
void RemoveMadeFolders();

#endif
