#!/bin/bash
# A signed release, built into BUILD_DIR with a throwaway code-signing certificate: the programs verify
# against it as built, in their compressed copies, and as the signed installer expands them (that run only
# where Wine starts 32-bit programs).
# Usage: signed_build.sh ENV_FILE SOURCE_DIR BUILD_DIR
set -euo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
mkdir -p "$3/signer" && cd "$3/signer" && echo 'not a secret' >password
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velari test signer" -addext keyUsage=digitalSignature \
    -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -passout file:password -out signer.p12
cmake -S "$2" -B "$3" -DVELARI_TESTS=OFF -DVELARI_SIGN_PKCS12="$PWD/signer.p12" -DVELARI_SIGN_PASSWORD_FILE="$PWD/password" >/dev/null
cmake --build "$3" -j2 >/dev/null
verify() { for program; do osslsigncode verify -CAfile cert.pem -in "$program" >/dev/null || { echo "unsigned: $program"; exit 1; }; done; }
verify "$3"/stripped/*.exe
# The compressed copies, expanded by a tool of the host's own: signed before compression.
mkdir -p expanded && for file in "$3"/dist/*.ex_; do msexpand <"$file" >"expanded/$(basename "${file%_}")e"; done
verify expanded/*.exe
"$scripts/wine_runs_32bit.sh" 2>/dev/null ||
    { echo "signatures verified, compressed copies too; the signed installer's run needs 32-bit Wine: not run here"; exit 0; }
. "$1" && rm -rf "$E2E_D_DRIVE/SIGNED" "$E2E_D_DRIVE/SIGNED_TARGET" && cp -r "$3/dist" "$E2E_D_DRIVE/SIGNED"
# Started in D:\SIGNED, where it takes its files from.
(cd "$E2E_D_DRIVE/SIGNED" && wine install.exe /VERYSILENT '/DIR=D:\SIGNED_TARGET' </dev/null >/dev/null 2>&1) || { echo "install: $?"; exit 1; }
verify "$E2E_D_DRIVE/SIGNED_TARGET/"*.exe
