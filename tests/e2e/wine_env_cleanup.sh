#!/bin/bash
# Takes down what wine_env_setup.sh made: every process of the prefix, the
# X server, and the temporary folder with the prefix and the D: drive.
#
# Usage: wine_env_cleanup.sh ENV_FILE
set -uo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 ENV_FILE" >&2
    exit 2
fi
env_file=$1
if [ ! -f "$env_file" ]; then
    echo "wine_env_cleanup: no $env_file, nothing to do"
    exit 0
fi

E2E_ROOT=
E2E_XVFB_PID=
# shellcheck disable=SC1090
. "$env_file"

if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    WINEPREFIX=$WINEPREFIX timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX=$WINEPREFIX timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
fi

# Only the X server that setup started: its pid must still be an Xvfb.
if [ -n "$E2E_XVFB_PID" ] && [ -r "/proc/$E2E_XVFB_PID/comm" ] &&
    [ "$(cat "/proc/$E2E_XVFB_PID/comm")" = "Xvfb" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    for _ in $(seq 1 100); do
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    kill -9 "$E2E_XVFB_PID" 2>/dev/null || true
fi

# Remove only a folder that setup made (mktemp's velari-e2e.XXXXXXXX).
case "$(basename "${E2E_ROOT:-/}")" in
velari-e2e.????????)
    if [ -d "$E2E_ROOT" ]; then
        rm -rf --one-file-system "$E2E_ROOT"
    fi
    ;;
*)
    echo "wine_env_cleanup: refusing to remove '$E2E_ROOT'" >&2
    ;;
esac
rm -f "$env_file"
echo "wine_env_cleanup: done"
