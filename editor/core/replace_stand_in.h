// Natively, the replace can be made to fail as Windows' ReplaceFile fails,
// leaving the files where it documents them, so that a save's recovery from
// each failure can be tried without Windows.
#ifndef VELARI_REPLACE_STAND_IN_H
#define VELARI_REPLACE_STAND_IN_H

#include <string>

enum ReplaceFailure {
    REPLACE_WORKS,
    REPLACE_FAILS_MOVING_NOTHING,    // 1175, 1176 with a backup name, any other error
    REPLACE_FAILS_WITH_TRACK_ASIDE,  // 1177: the old file under the backup name
    REPLACE_FAILS_WITH_TRACK_GONE,   // 1176 as without a backup name: the old file gone
};

struct ReplaceStandIn {
    ReplaceFailure failure = REPLACE_WORKS;
    bool newFileHeld = false;  // a scanner holds the new file: it can't be moved
    bool movesFail = false;    // no file can be moved
    std::string newFile;       // the last one asked to replace
};

extern ReplaceStandIn replaceStandIn;

#endif
