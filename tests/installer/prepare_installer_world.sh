#!/bin/bash
# Puts what the installer's tests need into the Wine world: the release's zip unpacked as D:\SETUP, a compressed empty file, a gravion.exe on the
# CD-ROM E: that no search of the fixed drives may find, and links that only
# the host side can make: a loop back to its parent and a link out to a
# folder with the game.
# Usage: prepare_installer_world.sh ENV_FILE ZIP
set -euo pipefail
[ -f "$1" ] || exit 77  # no world was made: skipped
. "$1"
printf 'not the game\n' >"$E2E_E_DRIVE/gravion.exe"
rm -rf "$E2E_D_DRIVE/SETUP" "$E2E_D_DRIVE/variants" "$E2E_D_DRIVE/LINKS" "$E2E_ROOT/outside"
mkdir -p "$E2E_D_DRIVE/SETUP" "$E2E_D_DRIVE/variants" "$E2E_D_DRIVE/LINKS" "$E2E_ROOT/outside"
python3 -m zipfile -e "$2" "$E2E_D_DRIVE/SETUP/"
: >"$E2E_D_DRIVE/variants/empty.cnt"
mscompress "$E2E_D_DRIVE/variants/empty.cnt"
mv "$E2E_D_DRIVE/variants/empty.cnt_" "$E2E_D_DRIVE/variants/empty.cn_"
printf 'game\n' >"$E2E_ROOT/outside/gravion.exe"
ln -s .. "$E2E_D_DRIVE/LINKS/loop"
ln -s "$E2E_ROOT/outside" "$E2E_D_DRIVE/LINKS/elsewhere"
