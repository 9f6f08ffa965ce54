#!/bin/sh
# Builds everything into build/: the native track core with its tests and
# fuzz target, and the Windows programs cross-compiled beside them.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$ROOT/build" -j2
