#!/bin/bash
# Runs one Windows program in the world that wine_env_setup.sh made, and
# serves its screenshot requests.
#
# Usage: run_in_wine.sh ENV_FILE [--bin FILE]... [--data FILE]... [--out DIR]
#                       -- PROGRAM [ARGUMENT]...
#
#   --bin FILE   copy FILE into C:\e2e\bin (programs and what they start)
#   --data FILE  copy FILE into D:\data if it exists (a missing one is noted)
#   --out DIR    where screenshots go (default: the current folder)
#   PROGRAM      a name in C:\e2e\bin, or a full Windows path
#
# The program runs with D:\ as its current folder. A line
#   @@SCREENSHOT NAME X Y WIDTH HEIGHT
# on its standard output asks for a picture of that part of the screen: it
# is saved as DIR/NAME.png, and D:\.e2e-ack\NAME then holds "ok" or
# "failed", which the program waits for. The exit status is the program's.
set -uo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 ENV_FILE [--bin FILE]... [--data FILE]... [--out DIR] -- PROGRAM [ARG]..." >&2
    exit 2
fi
env_file=$1
shift
if [ ! -f "$env_file" ]; then
    echo "run_in_wine: no $env_file: the wine_env fixture has not run" >&2
    exit 1
fi
set -a
# shellcheck disable=SC1090
. "$env_file"
set +a

out_dir=$PWD
bins=()
datas=()
while [ $# -gt 0 ]; do
    case "$1" in
    --bin) bins+=("$2"); shift 2 ;;
    --data) datas+=("$2"); shift 2 ;;
    --out) out_dir=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "run_in_wine: unknown option $1" >&2; exit 2 ;;
    esac
done
if [ $# -lt 1 ]; then
    echo "run_in_wine: no program given" >&2
    exit 2
fi
program=$1
shift

bin_dir=$WINEPREFIX/drive_c/e2e/bin
mkdir -p "$bin_dir" "$E2E_D_DRIVE/data" "$E2E_D_DRIVE/.e2e-ack" "$out_dir"
for f in "${bins[@]}"; do
    if [ ! -f "$f" ]; then
        echo "run_in_wine: $f does not exist (build the win32 target first)" >&2
        exit 1
    fi
    cp -f "$f" "$bin_dir/"
done
for f in "${datas[@]}"; do
    if [ -f "$f" ]; then
        cp -f "$f" "$E2E_D_DRIVE/data/"
    else
        echo "run_in_wine: note: $f does not exist; the program makes its own"
    fi
done
case "$program" in
*\\* | *:*) win_program=$program ;;
*) win_program="C:\\e2e\\bin\\$program" ;;
esac

run_dir=$(mktemp -d "$E2E_ROOT/log/run.XXXXXX")
stdout_file=$run_dir/stdout
stderr_file=$run_dir/stderr
: >"$stdout_file"

take_screenshot() {
    local name=$1 x=$2 y=$3 w=$4 h=$5 status=failed
    local png="$out_dir/$name.png"
    if [ "$w" -gt 0 ] && [ "$h" -gt 0 ] &&
        import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$png" \
            >>"$run_dir/import.log" 2>&1; then
        status=ok
        echo "screenshot: $png"
    else
        echo "screenshot $name failed (see $run_dir/import.log)"
    fi
    echo "$status" >"$E2E_D_DRIVE/.e2e-ack/$name.tmp"
    mv -f "$E2E_D_DRIVE/.e2e-ack/$name.tmp" "$E2E_D_DRIVE/.e2e-ack/$name"
}

handle_line() {
    local line=${1%$'\r'}
    if [[ "$line" =~ ^@@SCREENSHOT\ ([A-Za-z0-9_.-]+)\ (-?[0-9]+)\ (-?[0-9]+)\ ([0-9]+)\ ([0-9]+)$ ]]; then
        take_screenshot "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "${BASH_REMATCH[3]}" \
            "${BASH_REMATCH[4]}" "${BASH_REMATCH[5]}"
    else
        printf '%s\n' "$line"
    fi
}

# The program's output goes to files, not to our caller's pipes: Wine's
# helper processes that it may start inherit them and outlive it, and a
# test runner waiting for the pipes to close would wait for them.
(cd "$E2E_D_DRIVE" && exec wine "$win_program" "$@" </dev/null >"$stdout_file" 2>"$stderr_file") &
wine_pid=$!

exec {reader}<"$stdout_file"
partial=
drain() {
    local line
    while true; do
        if IFS= read -r -u "$reader" line; then
            handle_line "$partial$line"
            partial=
        else
            partial+=$line
            return
        fi
    done
}
while kill -0 "$wine_pid" 2>/dev/null; do
    drain
    sleep 0.05
done
wait "$wine_pid"
status=$?
drain
if [ -n "$partial" ]; then
    handle_line "$partial"
fi
exec {reader}<&-
if [ -s "$stderr_file" ]; then
    echo "--- stderr of $program"
    cat "$stderr_file"
fi
rm -rf "$run_dir"
exit "$status"
