#!/bin/bash
# Puts what the installer's cases need into the Wine world: the distribution
# as D:\SETUP, a compressed empty file, and links that only the host side can
# make: a loop back to its parent and a link out to a folder with the game.
# Usage: prepare_installer_world.sh ENV_FILE DIST_DIR
set -euo pipefail
. "$1"
dist=$2
rm -rf "$E2E_D_DRIVE/SETUP" "$E2E_D_DRIVE/variants" "$E2E_D_DRIVE/LINKS" "$E2E_ROOT/outside"
mkdir -p "$E2E_D_DRIVE/SETUP" "$E2E_D_DRIVE/variants" "$E2E_D_DRIVE/LINKS" "$E2E_ROOT/outside"
cp "$dist"/* "$E2E_D_DRIVE/SETUP/"
: >"$E2E_D_DRIVE/variants/empty.cnt"
mscompress "$E2E_D_DRIVE/variants/empty.cnt"
mv "$E2E_D_DRIVE/variants/empty.cnt_" "$E2E_D_DRIVE/variants/empty.cn_"
printf 'game\n' >"$E2E_ROOT/outside/gravion.exe"
ln -s .. "$E2E_D_DRIVE/LINKS/loop"
ln -s "$E2E_ROOT/outside" "$E2E_D_DRIVE/LINKS/elsewhere"
# Installers lacking one dialog template (the progress window, the game
# page): its id in the resource directory becomes the free one below it.
for id in 203 206; do
    mkdir -p "$E2E_D_DRIVE/SETUP_$id"
    python3 - "$dist/install.exe" "$E2E_D_DRIVE/SETUP_$id/install.exe" "$id" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
dialog = int(sys.argv[3])
pe = struct.unpack_from("<I", data, 0x3C)[0]
sections = pe + 24 + struct.unpack_from("<H", data, pe + 20)[0]
resources = struct.unpack_from("<I", data, pe + 24 + 96 + 2 * 8)[0]
for i in range(struct.unpack_from("<H", data, pe + 6)[0]):
    _, size, address, raw_size, raw = struct.unpack_from("<8sIIII", data, sections + 40 * i)
    if address <= resources < address + max(size, raw_size):
        base = raw + resources - address
def entries(offset):
    named, numbered = struct.unpack_from("<HH", data, base + offset + 12)
    return [base + offset + 16 + 8 * k for k in range(named + numbered)]
for entry in entries(0):
    if struct.unpack_from("<I", data, entry)[0] == 5:  # RT_DIALOG
        for item in entries(struct.unpack_from("<I", data, entry + 4)[0] & 0x7FFFFFFF):
            if struct.unpack_from("<I", data, item)[0] == dialog:
                struct.pack_into("<I", data, item, dialog - 1)
open(sys.argv[2], "wb").write(data)
PY
done
