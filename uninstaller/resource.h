// Every id the uninstaller's resources use.
// Plain #defines only: the resource compiler reads this file too.
#ifndef REMOVAL_RESOURCE_H
#define REMOVAL_RESOURCE_H

#define IDI_REMOVAL         100

#endif
