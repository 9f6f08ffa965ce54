#!/bin/bash
# Takes down what wine_world_setup.sh made: the prefix's processes, the X
# server, and the temporary folder. Usage: wine_world_cleanup.sh ENV_FILE
set -uo pipefail
env_file=$1
[ -f "$env_file" ] || exit 0
. "$env_file"
WINEPREFIX=$WINEPREFIX timeout 30 wineserver -k </dev/null >/dev/null 2>&1
WINEPREFIX=$WINEPREFIX timeout 30 wineserver -w </dev/null >/dev/null 2>&1
# Only the X server that setup started, and only the folder mktemp made.
[ -n "$E2E_XVFB_PID" ] && [ "$(cat "/proc/$E2E_XVFB_PID/comm" 2>/dev/null)" = Xvfb ] && kill "$E2E_XVFB_PID"
case "$(basename "$E2E_ROOT")" in velari-e2e.????????) rm -rf --one-file-system "$E2E_ROOT" ;; esac
rm -f "$env_file"
echo "wine_world_cleanup: done"
