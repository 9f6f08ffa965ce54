// The removal's decisions over what the registry answers: whether a key
// that must be empty goes, and which program an open command starts. Free
// of Windows so that they can be tried with any answers.
#ifndef REMOVAL_RULES_H
#define REMOVAL_RULES_H

#include <cstddef>

// What becomes of a key that goes only when empty, from the results of
// opening it and of asking for its subkeys and values (system error
// numbers; 2 is "not found").
enum EmptyKeyStep {
    EMPTY_KEY_GONE,       // not there: nothing to do
    EMPTY_KEY_DELETE,     // empty: deleted, never with what is below it
    EMPTY_KEY_IN_USE,     // another program's keys or values keep it
    EMPTY_KEY_UNCHECKED,  // it can't be looked into: kept, and said so
};
EmptyKeyStep DecideEmptyKey(long opened, long queried, unsigned long subkeys, unsigned long values);

// out = the program an open command starts: the quoted path, or an
// unquoted one up to its " %1"; false, out empty, for a command without
// one or one that does not fit.
bool ProgramOfCommand(const char* command, char* out, size_t size);

#endif
