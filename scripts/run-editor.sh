#!/bin/sh
# Installs what is needed, builds, and starts the editor under Wine on the
# bundled sample track. Without a display it runs on its own Xvfb, writes a
# screenshot of the editor and says where.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TRACK=${1:-$ROOT/samples/sample-2000.tra}
"$ROOT/scripts/install-packages.sh"
"$ROOT/scripts/build.sh" >/dev/null

export WINEPREFIX="$ROOT/build/wine-run"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

XVFB_PID=""
if [ -z "${DISPLAY:-}" ]; then
  display_number=77
  while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
    display_number=$((display_number + 1))
  done
  Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$display_number"
  sleep 1
fi

[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
TRACK_DOS=$(winepath -w "$TRACK")
EXE="$ROOT/build/win32/bin/Velari.exe"

if [ -z "$XVFB_PID" ]; then
  echo "Starting Velari on $TRACK_DOS"
  exec wine "$EXE" "$TRACK_DOS"
fi

wine "$EXE" "$TRACK_DOS" >/dev/null 2>&1 &
SHOT="$ROOT/build/velari-screenshot.png"
shown=""
for _ in $(seq 1 60); do
  if import -display "$DISPLAY" -window "Velari - $TRACK_DOS" "$SHOT" 2>/dev/null; then
    shown=yes
    break
  fi
  sleep 1
done
wineserver -k || true
kill "$XVFB_PID" 2>/dev/null || true
if [ -z "$shown" ]; then
  echo "The editor's window did not appear within a minute." >&2
  exit 1
fi
echo "No display here: Velari ran on its own Xvfb display with $TRACK_DOS."
echo "Screenshot of the editor: $SHOT"
