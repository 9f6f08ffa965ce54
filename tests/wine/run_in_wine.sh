#!/bin/bash
# Runs one Windows program in the world of scripts/wine_world_setup.sh and takes the
# screenshots it asks for.
#
# Usage: run_in_wine.sh ENV_FILE [--bin FILE]... [--data FILE]... [--out DIR] -- PROGRAM [ARG]...
#   --bin FILE   copied into C:\e2e\bin, where PROGRAM (a bare name) is run from
#   --data FILE  copied into D:\data
#   --out DIR    where screenshots go
# The program runs in D:\. A line "@@SCREENSHOT NAME X Y WIDTH HEIGHT" on its
# output saves that part of the screen as DIR/NAME.png; D:\.e2e-ack\NAME then
# holds "ok" or "failed", which the program waits for. The exit status is
# the program's.
set -uo pipefail
set -a
. "$1" || exit 1
set +a
shift
out_dir=$PWD
bin_dir=$WINEPREFIX/drive_c/e2e/bin
mkdir -p "$bin_dir" "$E2E_D_DRIVE/data" "$E2E_D_DRIVE/.e2e-ack"
while [ "$1" != -- ]; do
    case "$1" in
    --bin) cp -f "$2" "$bin_dir/" || exit 1 ;;
    --data) cp -f "$2" "$E2E_D_DRIVE/data/" || exit 1 ;;
    --out) out_dir=$2 ;;
    esac
    shift 2
done
shift
mkdir -p "$out_dir"
program=$1
shift
case "$program" in *\\*) ;; *) program="C:\\e2e\\bin\\$program" ;; esac

# Output goes to files: Wine's helper processes inherit it and outlive the
# program, and a runner waiting for its pipes to close would wait for them.
out=$(mktemp "$E2E_ROOT/log/out.XXXXXX")
(cd "$E2E_D_DRIVE" && exec wine "$program" "$@" </dev/null >"$out" 2>"$out.err") &
wine_pid=$!
handle() {
    local line=${1%$'\r'}
    if [[ "$line" =~ ^@@SCREENSHOT\ ([A-Za-z0-9_.-]+)\ (-?[0-9]+)\ (-?[0-9]+)\ ([0-9]+)\ ([0-9]+)$ ]]; then
        local name=${BASH_REMATCH[1]} status=failed
        import -display "$DISPLAY" -window root -crop "${BASH_REMATCH[4]}x${BASH_REMATCH[5]}+${BASH_REMATCH[2]}+${BASH_REMATCH[3]}" \
            +repage "$out_dir/$name.png" 2>/dev/null && status=ok && echo "screenshot: $out_dir/$name.png"
        echo "$status" >"$E2E_D_DRIVE/.e2e-ack/$name.tmp"
        mv -f "$E2E_D_DRIVE/.e2e-ack/$name.tmp" "$E2E_D_DRIVE/.e2e-ack/$name"
    else
        printf '%s\n' "$line"
    fi
}
exec {reader}<"$out"
partial=
drain() {
    local line
    while IFS= read -r -u "$reader" line; do
        handle "$partial$line"
        partial=
    done
    partial+=$line
}
while kill -0 "$wine_pid" 2>/dev/null; do
    drain
    sleep 0.05
done
wait "$wine_pid"
status=$?
drain
[ -n "$partial" ] && handle "$partial"
[ -s "$out.err" ] && { echo "--- stderr of $program"; cat "$out.err"; }
rm -f "$out" "$out.err"
exit "$status"
