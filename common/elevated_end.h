// How a program started again with administrator rights ended, decided from
// what the system says. Free of Windows so that it can be tried anywhere;
// header only, as the programs share no objects.
#ifndef ELEVATED_END_H
#define ELEVATED_END_H

#include <cstdint>

enum ElevatedEnd {
    ELEVATED_EXITED,       // it ran and ended with its own exit code
    ELEVATED_DECLINED,     // the person said no to the system's prompt
    ELEVATED_NOT_STARTED,  // it could not be started
    ELEVATED_CRASHED,      // it ended with an exception's code, or its end is unknown
};

// An exit code of 0xC0000000 and above is an exception's status, never one
// the program chose: a crash, not a refusal.
inline ElevatedEnd ClassifyElevatedEnd(bool started, bool cancelled, uint32_t exitCode)
{
    if (!started)
        return cancelled ? ELEVATED_DECLINED : ELEVATED_NOT_STARTED;
    return exitCode >= 0xC0000000u ? ELEVATED_CRASHED : ELEVATED_EXITED;
}

#endif
