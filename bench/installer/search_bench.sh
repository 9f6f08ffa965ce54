#!/bin/bash
# The game folder search over a synthetic drive of about 20,000 folders,
# beside find natively and Wine's own recursive listing over the same tree.
# Prints figures; fails only when it cannot measure.
# Usage: bench_search.sh ENV_FILE RUN_COMMAND...
set -uo pipefail
[ -f "$1" ] || exit 77  # no world was made: skipped
. "$1"
tree=$E2E_D_DRIVE/BENCH
rm -rf "$tree"
mkdir -p "$tree"/a{00..19}/b{00..19}/c{00..49}
trap 'rm -rf "$tree"' EXIT
folders=$(find "$tree" -type d | wc -l)

seconds() { local start=$(date +%s.%N); "$@" >/dev/null 2>&1; echo "$(date +%s.%N) - $start" | bc -l; }
find_s=$(seconds find "$tree" -type d)
idle_s=$(seconds wine cmd /c rem)
dir_s=$(seconds wine cmd /c "dir /s /b D:\\BENCH")
dir_s=$(echo "$dir_s - $idle_s" | bc -l)

out=$("${@:2}") || { echo "$out"; exit 1; }
echo "$out" | grep -v '^bench-search-rate'
rate=$(echo "$out" | sed -n 's/^bench-search-rate //p' | tr -d '\r')
printf 'bench: tree of %d folders: find %.3f s (%.0f folders/s), cmd /c dir /s /b %.2f s (%.0f folders/s)\n' \
    "$folders" "$find_s" "$(echo "$folders / $find_s" | bc -l)" "$dir_s" "$(echo "$folders / $dir_s" | bc -l)"
printf 'bench: installer search %.1f times as fast as dir /s /b (goal: at least 2), %.2f times slower than find\n' \
    "$(echo "$rate * $dir_s / $folders" | bc -l)" "$(echo "$folders / $find_s / $rate" | bc -l)"
