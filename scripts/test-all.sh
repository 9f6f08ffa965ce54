#!/bin/sh
# Installs what is needed, builds, and runs every test: unit tests natively
# and sanitized, the fuzz target, the programs end to end under Wine and a
# signed release. Before the tests it builds both releases again elsewhere,
# compares, and prints both zips' SHA-256, so that ctest's summary ends the run.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/install-packages.sh"
"$ROOT/scripts/build.sh"
"$ROOT/scripts/check-reproducible.sh"
cd "$ROOT/build"
ctest --output-on-failure --timeout 900
