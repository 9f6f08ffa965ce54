// Who the installation is for, and what the other width's installation
// means for this one: rules over what the platform and the command line
// say, free of Windows so that they can be tried with any answers.
#ifndef INSTALL_SCOPE_H
#define INSTALL_SCOPE_H

#include <cstddef>

#include "elevated_end.h"
#include "install_options.h"

struct ScopeFacts {
    InstallScope given;            // by a switch; SCOPE_NONE for none
    bool elevated;                 // the process has administrator rights
    bool wizard;                   // a person chooses on the welcome page
    bool installed[SCOPE_COUNT];   // an installation of that scope is there
};
struct ScopeChoice {
    InstallScope scope;
    const char* reason;  // for the log
};
// A switch decides; else, for the wizard's first choice, the one scope
// installed, so that an upgrade is proposed; else the rights: all users
// with them, only the current user without.
ScopeChoice ChooseInstallScope(const ScopeFacts& facts);

// The elevated start's arguments: for all users, in the same mode, with
// the folders that were given; never /LOG's path, but the name of the log it
// hands over (handoverName, null for none).
bool ComposeElevatedArguments(char* out, size_t size, const InstallOptions& options, const char* handoverName);
// This run's exit code after the elevated one ended so: its own, or for a
// crash that of a failure; a refusal is a cancel.
int ExitCodeAfterElevated(ElevatedEnd end, uint32_t exitCode);

// The registry view that holds the other width's settings for all users:
// on 64-bit Windows each width's programs see their own view of
// HKEY_LOCAL_MACHINE\SOFTWARE (the user's keys and the classes that Velari
// writes are one for both). None on 32-bit Windows.
enum OtherWidthView { OTHER_VIEW_NONE, OTHER_VIEW_32, OTHER_VIEW_64 };
OtherWidthView FindOtherWidthView(bool program64Bit, bool windows64Bit);

#endif
