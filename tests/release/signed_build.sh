#!/bin/bash
# A signed release: a throwaway code-signing certificate, the Windows part
# built with it into another folder, the three programs verified against
# that certificate as built and as the signed installer expands them in one
# silent installation, which is then removed again.
# Usage: signed_build.sh ENV_FILE SOURCE_DIR BUILD_DIR
set -euo pipefail
env_file=$1 source=$2 build=$3
. "$env_file"
keys=$build/throwaway-signer
rm -rf "$keys" && mkdir -p "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Velari test signer" \
    -addext keyUsage=digitalSignature -addext extendedKeyUsage=codeSigning \
    -keyout "$keys/key.pem" -out "$keys/cert.pem" 2>/dev/null
printf 'not a secret\n' >"$keys/password"
openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -passout "file:$keys/password" \
    -out "$keys/signer.p12"
cmake -S "$source" -B "$build" -DVELARI_TESTS=OFF -DVELARI_SIGN_PKCS12="$keys/signer.p12" \
    -DVELARI_SIGN_PASSWORD_FILE="$keys/password" >/dev/null
cmake --build "$build" -j2 >/dev/null

failed=0
verify() {
    for program in "$@"; do
        osslsigncode verify -CAfile "$keys/cert.pem" -in "$program" >/dev/null ||
            { echo "no valid signature: $program"; failed=1; }
    done
}
verify "$build/stripped/install.exe" "$build/stripped/Velari.exe" "$build/stripped/Removal.exe" \
    "$build/dist/install.exe"

rm -rf "$E2E_D_DRIVE/SIGNED" "$E2E_D_DRIVE/Signed Velari"
cp -r "$build/dist" "$E2E_D_DRIVE/SIGNED"
run="$(dirname "$0")/../wine/run_in_wine.sh $env_file --"
$run 'D:\SIGNED\install.exe' /VERYSILENT '/DIR=D:\Signed Velari' || { echo "the signed installer failed: $?"; exit 1; }
verify "$E2E_D_DRIVE/Signed Velari/Velari.exe" "$E2E_D_DRIVE/Signed Velari/Removal.exe"
$run 'D:\Signed Velari\Removal.exe' /SILENT || echo "removal: $?"
rm -rf "$E2E_D_DRIVE/SIGNED"
exit "$failed"
