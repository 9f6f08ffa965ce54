#!/bin/bash
# A signed release: a throwaway code-signing certificate, the Windows part
# built with it into BUILD_DIR, and the programs verified against it as built
# and as the signed installer expands them in one silent installation (77,
# skipped, where Wine can't run it).
# Usage: signed_build.sh ENV_FILE SOURCE_DIR BUILD_DIR
set -euo pipefail
tests=$(cd "$(dirname "$0")/.." && pwd)
keys=$3/signer && rm -rf "$keys" && mkdir -p "$keys" && cd "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velari test signer" -addext keyUsage=digitalSignature \
    -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
echo 'not a secret' >password
openssl pkcs12 -export -inkey key.pem -in cert.pem -passout file:password -out signer.p12
cmake -S "$2" -B "$3" -DVELARI_TESTS=OFF -DVELARI_SIGN_PKCS12="$keys/signer.p12" \
    -DVELARI_SIGN_PASSWORD_FILE="$keys/password" >/dev/null
cmake --build "$3" -j2 >/dev/null
verify() {
    for program in "$@"; do
        osslsigncode verify -CAfile cert.pem -in "$program" >/dev/null || { echo "no valid signature: $program"; exit 1; }
    done
}
verify "$3"/stripped/*.exe
"$tests/../scripts/wine_runs_32bit.sh" || { echo "signatures verified; installing needs 32-bit Wine: skipped"; exit 77; }
. "$1"
rm -rf "$E2E_D_DRIVE/SIGNED" "$E2E_D_DRIVE/SIGNED_TARGET" && cp -r "$3/dist" "$E2E_D_DRIVE/SIGNED"
# Started in D:\SIGNED, where it takes its files from.
(cd "$E2E_D_DRIVE/SIGNED" && wine install.exe /VERYSILENT '/DIR=D:\SIGNED_TARGET' </dev/null >/dev/null 2>&1) ||
    { echo "the signed installer ended with $?"; exit 1; }
verify "$E2E_D_DRIVE/SIGNED_TARGET/"*.exe
