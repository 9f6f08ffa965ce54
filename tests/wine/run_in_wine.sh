#!/bin/bash
# Runs one Windows program in the world of scripts/wine_world_setup.sh and
# turns the screenshots it took into PNG files.
#
# Usage: run_in_wine.sh ENV_FILE [--bin FILE]... [--data FILE]... [--out DIR] -- PROGRAM [ARG]...
#   --bin FILE   copied into C:\e2e\bin, where PROGRAM (a bare name) is run from
#   --data FILE  copied into D:\data
#   --out DIR    where the screenshots (D:\.e2e-shots\NAME.bmp) go, as NAME.png
# The program runs in D:\. The exit status is the program's.
set -uo pipefail
[ -f "$1" ] || exit 77  # no world was made: skipped
set -a
. "$1" || exit 1
set +a
shift
out_dir=$PWD
bin_dir=$WINEPREFIX/drive_c/e2e/bin
shots=$E2E_D_DRIVE/.e2e-shots
mkdir -p "$bin_dir" "$E2E_D_DRIVE/data"
rm -rf "$shots"
while [ "$1" != -- ]; do
    case "$1" in
    --bin) cp -f "$2" "$bin_dir/" || exit 1 ;;
    --data) cp -f "$2" "$E2E_D_DRIVE/data/" || exit 1 ;;
    --out) out_dir=$2 ;;
    esac
    shift 2
done
shift
program=$1
shift
case "$program" in *\\*) ;; *) program="C:\\e2e\\bin\\$program" ;; esac

# Output goes to files: Wine's helper processes inherit it and outlive the
# program, and a runner waiting for its pipes to close would wait for them.
out=$(mktemp "$E2E_ROOT/log/out.XXXXXX")
(cd "$E2E_D_DRIVE" && wine "$program" "$@" </dev/null >"$out" 2>"$out.err")
status=$?
tr -d '\r' <"$out"
[ -s "$out.err" ] && { echo "--- stderr of $program"; cat "$out.err"; }
rm -f "$out" "$out.err"
mkdir -p "$out_dir"
for shot in "$shots"/*.bmp; do
    [ -f "$shot" ] || continue
    png=$out_dir/$(basename "$shot" .bmp).png
    convert "$shot" "$png" && echo "screenshot: $png"
done
exit "$status"
