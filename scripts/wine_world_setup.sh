#!/bin/bash
# Makes a Wine world for the programs and writes where it is into ENV_FILE
# (shell assignments): Xvfb on a free display, a fresh prefix in a temporary
# folder, HOME inside it, and drives of its own only:
#   C: the prefix's drive_c, labelled SYSTEM
#   D: a folder of its own (E2E_D_DRIVE), labelled DATA
#   E: with "e:cdrom" (or floppy, network) given, a drive of that type on a
#      folder of its own (E2E_E_DRIVE)
# No drive leads to the host's root. Usage: wine_world_setup.sh ENV_FILE [e:TYPE]
# With WINE_WORLD_DISPLAY set (a person's own display), that display is used
# instead of an Xvfb of the world's own; with WINE_WORLD_DPI set (144 for a
# 150% screen), everything runs at that many dots per inch.
set -euo pipefail
env_file=$1
extra=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
# WINE_WORLD_WIN64=1: the programs are the 64-bit release, which runs also
# where the kernel can't start Wine's 32-bit loader; Wine's own wrapper
# would still pick that loader, so the world's "wine" is the 64-bit one.
if [ "${WINE_WORLD_WIN64:-}" != 1 ]; then
    "$here/wine_runs_32bit.sh" || exit 77
fi
[ -f "$env_file" ] && "$here/wine_world_cleanup.sh" "$env_file" >/dev/null

root=$(mktemp -d "${TMPDIR:-/tmp}/velari-e2e.XXXXXXXX")
mkdir -p "$root/home" "$root/d" "$root/e" "$root/log" "$root/bin"
path=$PATH
if [ "${WINE_WORLD_WIN64:-}" = 1 ]; then
    printf '#!/bin/sh\nWINELOADER=/usr/lib/wine/wine64 exec /usr/lib/wine/wine64 "$@"\n' >"$root/bin/wine"
    printf '#!/bin/sh\nexec wine wineboot.exe "$@"\n' >"$root/bin/wineboot"
    chmod +x "$root/bin/wine" "$root/bin/wineboot"
    path=$root/bin:$PATH
fi
log=$root/log/setup.log
write_env() {
    cat >"$env_file" <<ENV
E2E_ROOT=$root
E2E_XVFB_PID=${xvfb_pid:-}
DISPLAY=${display:-}
WINEPREFIX=$root/prefix
E2E_D_DRIVE=$root/d
E2E_E_DRIVE=$root/e
HOME=$root/home
PATH=$path
WINEDEBUG=-all
WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export DISPLAY WINEPREFIX HOME PATH WINEDEBUG WINEDLLOVERRIDES
ENV
}
fail() {
    echo "wine_world_setup: $*" >&2
    tail -n 40 "$log" >&2 || true
    "$here/wine_world_cleanup.sh" "$env_file" || true
    exit 1
}
write_env  # so that a failure below can still be cleaned up

if [ -n "${WINE_WORLD_DISPLAY:-}" ]; then
    display=$WINE_WORLD_DISPLAY
else
    # Its output goes to a file: nothing that outlives this script may hold
    # the test runner's pipes open.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$root/log/display" </dev/null >>"$log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 200); do
        [ -s "$root/log/display" ] || ! kill -0 "$xvfb_pid" 2>/dev/null && break
        sleep 0.05
    done
    [ -s "$root/log/display" ] || fail "Xvfb did not start"
    display=":$(tr -dc '0-9' <"$root/log/display")"
fi
write_env
set -a
. "$env_file"
set +a

wineboot -i </dev/null >>"$log" 2>&1 || fail "wineboot failed"
# A crash ends the program with a backtrace instead of a dialog that waits
# for a person; without a window manager Wine draws the frames itself.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$log" 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >>"$log" 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1
if [ -n "${WINE_WORLD_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$WINE_WORLD_DPI" /f >>"$log" 2>&1
fi
if [ -n "$extra" ]; then
    wine reg add 'HKLM\Software\Wine\Drives' /v e: /d "${extra#e:}" /f /reg:64 >>"$log" 2>&1 || fail "no drive $extra"
fi

# Drives change with the prefix at rest: the mount manager reads them at start.
wineboot --shutdown </dev/null >>"$log" 2>&1 || true
wineserver -k </dev/null >>"$log" 2>&1 || true
wineserver -w </dev/null >>"$log" 2>&1 || true
for link in "$WINEPREFIX"/dosdevices/*; do
    case "$(basename "$link")" in c:) ;; *) rm -f "$link" ;; esac
done
ln -s "$E2E_D_DRIVE" "$WINEPREFIX/dosdevices/d:"
[ -n "$extra" ] && ln -s "$E2E_E_DRIVE" "$WINEPREFIX/dosdevices/e:"
# Labels are read when the prefix starts.
printf 'SYSTEM\n' >"$WINEPREFIX/drive_c/.windows-label"
printf 'DATA\n' >"$E2E_D_DRIVE/.windows-label"
# wineserver stays up between the tests, so each program starts quickly.
wineserver -p </dev/null >>"$log" 2>&1 || fail "wineserver did not start"
wineboot </dev/null >>"$log" 2>&1 || fail "the prefix did not start again"
[ -e "$WINEPREFIX/dosdevices/z:" ] && fail "z: came back"
mkdir -p "$WINEPREFIX/drive_c/e2e/bin"
echo "wine_world_setup: display $DISPLAY, prefix $WINEPREFIX, D: -> $E2E_D_DRIVE${extra:+, E: ($extra) -> $E2E_E_DRIVE}"
