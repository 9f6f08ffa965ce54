#!/bin/bash
# Makes the world the end-to-end tests run in: a virtual X display, a Wine
# prefix of our own and a D: drive on a folder we own, and writes where they
# are into ENV_FILE (shell variable assignments) for run_in_wine.sh and for
# anything else that wants to run Windows programs in the same world.
#
# Usage: wine_env_setup.sh ENV_FILE
#
# Nothing of the host is reachable from inside: the z: drive (the host's /)
# is removed, and HOME points into the temporary folder so that Wine's shell
# folders and menu entries stay there too.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 ENV_FILE" >&2
    exit 2
fi
env_file=$1
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb wine wineboot wineserver import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "wine_env_setup: '$tool' is missing (packages: wine wine32 xvfb imagemagick)" >&2
        exit 1
    fi
done

# A world left over from a run that was killed is taken down first.
if [ -f "$env_file" ]; then
    "$here/wine_env_cleanup.sh" "$env_file" || true
fi

root=$(mktemp -d "${TMPDIR:-/tmp}/velari-e2e.XXXXXXXX")
mkdir -p "$root/home" "$root/d" "$root/log"
log=$root/log/setup.log

# The clean-up script needs only ENV_FILE; write what exists so far at once,
# so that a failure further down can still be cleaned up.
write_env() {
    local tmp="$env_file.tmp"
    {
        echo "# Written by wine_env_setup.sh; removed by wine_env_cleanup.sh."
        printf 'E2E_ROOT=%q\n' "$root"
        printf 'E2E_XVFB_PID=%q\n' "${xvfb_pid:-}"
        printf 'DISPLAY=%q\n' "${display:-}"
        printf 'WINEPREFIX=%q\n' "$root/prefix"
        printf 'E2E_D_DRIVE=%q\n' "$root/d"
        printf 'HOME=%q\n' "$root/home"
        printf 'WINEDEBUG=%q\n' "-all"
        printf 'WINEDLLOVERRIDES=%q\n' "mscoree,mshtml=;winemenubuilder.exe=d"
        echo "export DISPLAY WINEPREFIX HOME WINEDEBUG WINEDLLOVERRIDES"
    } >"$tmp"
    mv "$tmp" "$env_file"
}
write_env

fail() {
    echo "wine_env_setup: $*" >&2
    echo "--- $log" >&2
    tail -n 40 "$log" >&2 || true
    "$here/wine_env_cleanup.sh" "$env_file" || true
    exit 1
}

# Xvfb picks a free display itself and tells us its number once it accepts
# connections. Its output goes to a file: nothing that outlives this script
# may hold the test runner's pipes open.
display_file=$root/log/display
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$display_file" </dev/null >>"$root/log/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 200); do
    if [ -s "$display_file" ]; then break; fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    sleep 0.05
done
if [ ! -s "$display_file" ]; then
    fail "Xvfb did not start (see $root/log/xvfb.log)"
fi
display=":$(tr -dc '0-9' <"$display_file")"
write_env

set -a
# shellcheck disable=SC1090
. "$env_file"
set +a

# wineserver stays up between the tests, so each program starts quickly.
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >>"$log" 2>&1 || fail "wineserver did not start"
wineboot -i </dev/null >>"$log" 2>&1 || fail "wineboot failed"

# A crash ends the program with a backtrace on stderr instead of a dialog
# that waits for a person. There is no window manager: Wine draws the frames
# itself (screenshots show captions and menus), and windows are not left to
# a manager, which Wine would wait for (2 s) each time one is hidden.
reg_file=$WINEPREFIX/drive_c/e2e-settings.reg
cat >"$reg_file" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"
EOF
wine regedit /S 'C:\e2e-settings.reg' </dev/null >>"$log" 2>&1 || fail "regedit failed"
rm -f "$reg_file"

# The drives are changed with the prefix at rest: the mount manager learns
# them when it starts, and would otherwise go on listing the old ones.
wineboot --shutdown </dev/null >>"$log" 2>&1 || true
wineserver -k </dev/null >>"$log" 2>&1 || true
wineserver -w </dev/null >>"$log" 2>&1 || true

dosdevices=$root/prefix/dosdevices
if [ ! -d "$dosdevices" ] || [ "$WINEPREFIX" != "$root/prefix" ]; then
    fail "the prefix has no dosdevices folder"
fi
# No drive may lead to the host's file system beyond our own folder: every
# link but c: goes (z: is the host's root, the others are devices).
for link in "$dosdevices"/*; do
    [ -L "$link" ] || continue
    case "$(basename "$link")" in
    c:) ;;
    *) rm -f "$link" ;;
    esac
done
ln -s "$E2E_D_DRIVE" "$dosdevices/d:"

wineserver -p </dev/null >>"$log" 2>&1 || fail "wineserver did not start again"
wineboot </dev/null >>"$log" 2>&1 || fail "the prefix did not start again"
if [ -e "$dosdevices/z:" ] || [ -L "$dosdevices/z:" ]; then
    fail "z: came back"
fi

mkdir -p "$WINEPREFIX/drive_c/e2e/bin"
echo "wine_env_setup: display $DISPLAY, prefix $WINEPREFIX, D: -> $E2E_D_DRIVE"
