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
# Without a window manager Wine draws the frame and caption itself.
X11_KEY='HKCU\Software\Wine\X11 Driver'
if [ -n "$XVFB_PID" ]; then
  wine reg add "$X11_KEY" /v Managed /d N /f >/dev/null 2>&1
  wine reg add "$X11_KEY" /v Decorated /d N /f >/dev/null 2>&1
else
  wine reg delete "$X11_KEY" /f >/dev/null 2>&1 || true
fi
TRACK_DOS=$(winepath -w "$TRACK")
EXE="$ROOT/build/win32/bin/Velari.exe"

if [ -z "$XVFB_PID" ]; then
  printf "Starting Velari on %s\n" "$TRACK_DOS"
  exec wine "$EXE" "$TRACK_DOS"
fi

wine "$EXE" "$TRACK_DOS" >/dev/null 2>&1 &
SHOT="$ROOT/build/velari-screenshot.png"
shown=""
for _ in $(seq 1 60); do
  window_id=$(xwininfo -display "$DISPLAY" -name "Velari - $TRACK_DOS" 2>/dev/null |
    sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
  if [ -n "$window_id" ]; then
    sleep 1  # let the list and fields finish painting
    import -display "$DISPLAY" -window "$window_id" "$SHOT" && shown=yes
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
printf "No display here: Velari ran on its own Xvfb display with %s.\n" "$TRACK_DOS"
echo "Screenshot of the editor: $SHOT"
