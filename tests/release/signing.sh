#!/usr/bin/env bash
# Signs a copy of the program with the release's own signing step and a
# throw-away self-signed certificate; fails unless the signature verifies
# against that certificate and removing it gives back the unsigned bytes.
# Usage: tests/release/signing.sh [PROGRAM]   (default build/win64/QuellmarStarter.exe)
set -euo pipefail
cd "$(dirname "$0")/../.."
program=${1:-build/win64/QuellmarStarter.exe}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Throw-away Quellmar Starter signer" \
    -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2> /dev/null
openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -passout pass:throw-away -out "$tmp/cert.pfx"
cp "$program" "$tmp/signed.exe"
STARTER_SIGN_PKCS12=$tmp/cert.pfx STARTER_SIGN_PASSWORD=throw-away scripts/release.sh --sign "$tmp/signed.exe"
osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp/signed.exe" > "$tmp/verify.log" || { cat "$tmp/verify.log"; exit 1; }
osslsigncode remove-signature -in "$tmp/signed.exe" -out "$tmp/unsigned.exe" > /dev/null
scripts/release.sh --compare "$program" "$tmp/unsigned.exe"
