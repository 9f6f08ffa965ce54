#!/bin/sh
# Builds the Windows programs, the help and the distribution a second time,
# from the same sources into another folder, and checks that the programs,
# the compressed files and the zip come out byte for byte as in build/.
# Prints the zip's SHA-256. Run after scripts/build.sh.
#   scripts/check-reproducible.sh [SECOND_FOLDER]
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
FIRST=$ROOT/build
SECOND=${1:-$ROOT/build-second}
cmake -S "$ROOT" -B "$SECOND" -DVELARI_TESTS=OFF >/dev/null
cmake --build "$SECOND" -j2 >/dev/null

differ=0
for file in $(cd "$SECOND" && ls win32/bin/*.exe stripped/* dist/* Velari-*-setup.zip*); do
    if ! cmp -s "$FIRST/$file" "$SECOND/$file"; then
        echo "differs between two builds: $file ($(cmp "$FIRST/$file" "$SECOND/$file" 2>&1 | head -1))"
        differ=1
    fi
done
[ "$differ" -eq 0 ] || exit 1
echo "two builds are identical"
cd "$FIRST" && sha256sum Velari-*-setup.zip
