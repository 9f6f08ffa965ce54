// The search of the fixed drives for the game's folder.
#ifndef GAME_SEARCH_H
#define GAME_SEARCH_H

#include <windows.h>

// The wizard's automatic page, in the progress window.
void RunGameFolderSearch();
// The game folder given on the command line, or else the search's result,
// its bar in progress (null: no window).
void FindGameFolder(HWND progress);
int SearchFixedDrives(HWND progress);
int SearchFolder(HWND progress, const char* pattern);
// Whether the folder holds the game's executable, as the search takes it.
bool GameFolderHoldsGame(const char* folder);

#endif
