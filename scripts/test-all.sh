#!/bin/sh
# Installs what is needed, builds, and runs every test: unit tests natively
# and sanitized, the fuzz target, and the programs end to end under Wine.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/install-packages.sh"
"$ROOT/scripts/build.sh"
cd "$ROOT/build"
ctest --output-on-failure --timeout 900
