#!/usr/bin/env bash
# The program in build/PRESET as a release ships it, checked the two ways a
# user verifies it:
# - built a second time from a copy of the working tree's tracked files
#   (local changes included) at a longer path, later, in another time zone,
#   locale and umask, it is the same bytes; else the first difference is
#   named;
# - signed by the release's own signing step with a throw-away self-signed
#   certificate, its signature verifies against that certificate, and
#   removing the signature gives back the unsigned bytes.
# Usage: tests/release/verifiable.sh [PRESET]   (default win64; after its build)
set -euo pipefail
cd "$(dirname "$0")/../.."
preset=${1:-win64}
program=build/$preset/QuellmarStarter.exe
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

copy=$tmp/again$PWD  # longer than this checkout's path, whatever that is
other_locale=C.UTF-8; [ "$(locale charmap)" != UTF-8 ] || other_locale=C
mkdir -p "$copy"
git ls-files -z | tar --null -T - --ignore-failed-read -cf - | tar -xf - -C "$copy"
# UTC+14 written out, so that no time-zone data is needed.
(cd "$copy" && umask 077 && unset SOURCE_DATE_EPOCH && export TZ=LINT-14 LC_ALL=$other_locale &&
    cmake --preset "$preset" > /dev/null && cmake --build --preset "$preset" --target QuellmarStarter > /dev/null)
scripts/release.sh --compare "$program" "$copy/$program"

openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=throw-away -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2> /dev/null
openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" -passout pass:throw-away -out "$tmp/cert.pfx"
cp "$program" "$tmp/signed.exe"
STARTER_SIGN_PKCS12=$tmp/cert.pfx STARTER_SIGN_PASSWORD=throw-away scripts/release.sh --sign "$tmp/signed.exe"
osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp/signed.exe" > "$tmp/verify.log" || { cat "$tmp/verify.log"; exit 1; }
osslsigncode remove-signature -in "$tmp/signed.exe" -out "$tmp/unsigned.exe" > /dev/null
scripts/release.sh --compare "$program" "$tmp/unsigned.exe"
