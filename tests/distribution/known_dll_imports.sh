#!/bin/sh
# The programs that run with administrator rights import directly only DLLs
# that Windows always takes from its own folder (its known DLLs); any other
# would be looked for beside the program first.
# Usage: known_dll_imports.sh OBJDUMP PROGRAM...
set -u
objdump=$1
shift
status=0
for program in "$@"; do
    for dll in $("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'); do
        case "$dll" in
        kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | shlwapi.dll | ole32.dll | \
            oleaut32.dll | comdlg32.dll | msvcrt.dll) ;;
        *) echo "$(basename "$program") imports $dll, which is no known DLL"; status=1 ;;
        esac
    done
done
[ "$status" = 0 ] && echo "only known DLLs imported by: $*"
exit "$status"
