#!/bin/bash
# Both releases signed, built into BUILD_DIR with a throwaway code-signing certificate: the programs and
# the setup programs verify against it as built, in their compressed copies, and as each signed installer
# and setup program installs them, the 64-bit ones in the world of ENV_64, the 32-bit ones in that of
# ENV_32; where that world could not be made (no 32-bit Wine), exits 77: skipped.
# Usage: signed_build.sh ENV_64 ENV_32 SOURCE_DIR BUILD_DIR
set -euo pipefail
build=$4
mkdir -p "$4/signer" && cd "$4/signer" && echo 'not a secret' >password
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velari test signer" -addext keyUsage=digitalSignature \
    -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -passout file:password -out signer.p12
cmake -S "$3" -B "$4" -DVELARI_TESTS=OFF -DVELARI_SIGN_PKCS12="$PWD/signer.p12" -DVELARI_SIGN_PASSWORD_FILE="$PWD/password" >/dev/null
cmake --build "$4" -j2 >/dev/null
verify() { for program; do osslsigncode verify -CAfile cert.pem -in "$program" >/dev/null || { echo "unsigned: $program"; exit 1; }; done; }
verify "$4"/stripped/*.exe "$4"/stripped-x64/*.exe "$4"/Velari-*-setup.exe
# The compressed copies, expanded by a tool of the host's own: signed before compression.
for dist in dist dist-x64; do
    mkdir -p "expanded/$dist" && for file in "$4/$dist"/*.ex_; do msexpand <"$file" >"expanded/$dist/$(basename "${file%_}")e"; done
    verify "expanded/$dist"/*.exe
done
# Each started in D:\SIGNED: the installer beside its files, then the setup program alone.
run_signed() {
    for starter in install.exe "$3"; do
        (. "$1" && rm -rf "$E2E_D_DRIVE/SIGNED" "$E2E_D_DRIVE/SIGNED_TARGET" && mkdir "$E2E_D_DRIVE/SIGNED" &&
            if [ "$starter" = install.exe ]; then cp "$build/$2"/* "$E2E_D_DRIVE/SIGNED"; else cp "$build/$starter" "$E2E_D_DRIVE/SIGNED"; fi &&
            cd "$E2E_D_DRIVE/SIGNED" && wine "$starter" /VERYSILENT '/DIR=D:\SIGNED_TARGET' </dev/null >/dev/null 2>&1) ||
            { echo "install with $starter from $2: $?"; exit 1; }
        (. "$1" && verify "$E2E_D_DRIVE/SIGNED_TARGET/"*.exe && echo "$starter: signed, installed and verified")
    done
}
[ -f "$1" ] || { echo "signatures verified, compressed copies too; no Wine world: no signed installer run"; exit 77; }
version=$(sed -n 's/^project(Velari VERSION \([0-9.]*\).*/\1/p' "$3/CMakeLists.txt")
run_signed "$1" dist-x64 "Velari-$version-x64-setup.exe"
[ -f "$2" ] || { echo "the 32-bit signed installer's run needs 32-bit Wine: not run here"; exit 77; }
run_signed "$2" dist "Velari-$version-setup.exe"
