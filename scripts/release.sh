#!/usr/bin/env bash
# Makes the release in dist/: the archives QuellmarStarter-<version>-win32.zip
# and -win64.zip (the program, the user's README and the licence); the two
# programs as the build makes them, unsigned, beside them as
# QuellmarStarter-<version>-win32.exe and -win64.exe; and SHA256SUMS over all
# four, as `sha256sum -c` reads it. Every clean build of a commit gives the
# same bytes, so anyone can rebuild a release and compare.
#
# Given a certificate, the release and --sign sign the programs (Authenticode,
# SHA-256, with the product's name and home page); the release signs those in
# the archives only:
#   STARTER_SIGN_PKCS12=file.pfx        the certificate and its private key
#   STARTER_SIGN_PASSWORD=...           its password (handed to the signing
#                                       tool in a private file, never on a
#                                       command line)
#   STARTER_SIGN_TIMESTAMP_URL=...      optional: an RFC 3161 time-stamp server
#
# Usage:
#   scripts/release.sh                  make the release in dist/
#   scripts/release.sh --verify DIR     rebuild the programs from this checkout
#                                       and compare every file of the archives
#                                       in DIR (a signed program without its
#                                       signature) with what the release makes
#   scripts/release.sh --sign FILE...   sign programs in place, as the release does
#   scripts/release.sh --compare A B    whether two files are the same bytes,
#                                       and if not, where they first differ
set -euo pipefail
# cmp's messages are read below; the archives' times are fixed in UTC.
export LC_ALL=C

usage() { sed -n 's/^#   //p' "$0" | sed -n '/^scripts/p' >&2; exit 2; }
# Paths given by the user, the certificate's too, are taken from where the
# user stands.
args=()
for a in "$@"; do
    case $a in --*) args+=("$a") ;; *) args+=("$(realpath -m -- "$a")") ;; esac
done
set -- "${args[@]+"${args[@]}"}"
[ -z "${STARTER_SIGN_PKCS12:-}" ] || STARTER_SIGN_PKCS12=$(realpath -m -- "$STARTER_SIGN_PKCS12")
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(QuellmarStarter VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The name and the home page that a signature names live in the program's
# sources; they are read from there.
product=$(sed -n 's/^ *VALUE "ProductName", "\([^"\\]*\).*/\1/p' resources/starter.rc)
homepage=$(sed -n 's/.*HomePageHost = "\([^"]*\)".*/\1/p' Starter/integration/HomePage.h)
[ -n "$version" ] && [ -n "$product" ] && [ -n "$homepage" ] || {
    echo "release.sh: cannot read the version, the product name or the home page" >&2; exit 1; }
presets=(win32 win64)
# Every file of an archive carries this time, 1980-01-01 00:00 UTC: the
# earliest a zip entry can hold (zip writes 1980 for anything earlier). The
# archives are made with TZ=UTC, since zip stores local times.
archive_time=315532800

tmp=$(mktemp -d)  # private to this user (0700)
trap 'rm -rf "$tmp"' EXIT

build() {  # PRESET: the program only, in the preset's build folder
    cmake --preset "$1" > /dev/null
    cmake --build --preset "$1" --target QuellmarStarter
}

# The files of PRESET's archive, unsigned, into the folder STAGE, in the
# order the archive lists them.
staged_files=(QuellmarStarter.exe README.txt LICENSE.txt)
stage() {  # PRESET STAGE
    mkdir -p "$2"
    cp "build/$1/QuellmarStarter.exe" "$2/"
    # CRLF for Notepad; a checkout that has them already keeps one CR.
    sed 's/\r*$/\r/' release/README.txt > "$2/README.txt"
    sed 's/\r*$/\r/' LICENSE > "$2/LICENSE.txt"
}

u() {  # FILE OFFSET BYTES: the little-endian number there
    od -An --endian=little -t"u$3" -j"$2" -N"$3" -- "$1" | tr -d ' '
}

# The part of the program FILE that holds the byte at OFFSET: the PE
# header's time stamp, its checksum, the rest of the headers, or a section.
part_at() {  # FILE OFFSET
    local file=$1 at=$2 pe opt s i n ptr
    [ "$(head -c2 -- "$file")" = MZ ] || { echo "a file that is no program"; return; }
    pe=$(u "$file" 60 4); opt=$((pe + 24))
    if ((pe + 8 <= at && at < pe + 12)); then echo "the PE header's time stamp"; return; fi
    if ((opt + 64 <= at && at < opt + 68)); then echo "the PE header's checksum"; return; fi
    if ((at < $(u "$file" $((opt + 60)) 4))); then echo "the headers"; return; fi
    s=$((opt + $(u "$file" $((pe + 20)) 2))); n=$(u "$file" $((pe + 6)) 2)
    for ((i = 0; i < n; i++, s += 40)); do
        ptr=$(u "$file" $((s + 20)) 4)
        if ((ptr <= at && at < ptr + $(u "$file" $((s + 16)) 4))); then
            echo "section $(dd if="$file" bs=1 skip="$s" count=8 status=none | tr -d '\0')"; return
        fi
    done
    echo "no section (the padding or the certificate table)"
}

# Whether FILE is the same bytes as EXPECTED; if not, where they first
# differ (an offset counted from 0) and in which part of the program.
compare() {  # EXPECTED FILE [NAME [EXPECTED-NAME]]
    local name=${3:-$2} expected=${4:-$1} out at
    if out=$(cmp -- "$1" "$2" 2>&1); then echo "$name: the same bytes as $expected"; return 0; fi
    at=$(sed -n 's/.* differ: [a-z]* \([0-9]*\),.*/\1/p' <<< "$out")
    if [ -z "$at" ]; then echo "$name: $out" >&2; return 1; fi  # one is shorter, or unreadable
    at=$((at - 1))
    printf '%s differs from %s (%d and %d bytes): first at byte offset %d (0x%x), in %s\n' \
        "$name" "$expected" "$(stat -c %s -- "$2")" "$(stat -c %s -- "$1")" "$at" "$at" "$(part_at "$1" "$at")" >&2
    return 1
}

sign() {  # FILE...: each signed in place
    local pfx=${STARTER_SIGN_PKCS12:-} f timestamp=()
    [ -f "$pfx" ] || { echo "release.sh: STARTER_SIGN_PKCS12 names no file: '$pfx'" >&2; exit 1; }
    [ -z "${STARTER_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$STARTER_SIGN_TIMESTAMP_URL")
    # printf is a shell builtin: the password reaches no command line.
    printf '%s' "${STARTER_SIGN_PASSWORD-}" > "$tmp/password"
    for f; do
        osslsigncode sign -pkcs12 "$pfx" -readpass "$tmp/password" -h sha256 \
            -n "$product" -i "https://$homepage/" "${timestamp[@]+"${timestamp[@]}"}" \
            -in "$f" -out "$f.signed" > /dev/null
        chmod --reference="$f" "$f.signed"
        mv -f "$f.signed" "$f"
    done
    rm -f "$tmp/password"
}

signed() {  # FILE: whether the program carries a certificate table
    local opt
    [ "$(head -c2 -- "$1")" = MZ ] || return 1
    opt=$(($(u "$1" 60 4) + 24))
    # The certificate table's entry is the fifth data directory, after 96
    # bytes of a 32-bit optional header or 112 of a 64-bit one (magic 0x20b).
    [ "$(u "$1" "$opt" 2)" != 523 ] || opt=$((opt + 16))
    [ "$(u "$1" $((opt + 96 + 4 * 8 + 4)) 4)" != 0 ]
}

release() {
    mkdir -p dist
    rm -f "dist/QuellmarStarter-$version-"* dist/SHA256SUMS
    local preset stage archive sums=()
    if [ -n "${STARTER_SIGN_PKCS12:-}" ]; then
        echo "The programs in the archives are signed with $STARTER_SIGN_PKCS12."
    else
        echo "No certificate given (STARTER_SIGN_PKCS12): the programs in the archives are unsigned."
    fi
    for preset in "${presets[@]}"; do
        build "$preset"
        stage=$tmp/$preset
        stage "$preset" "$stage"
        cp "$stage/QuellmarStarter.exe" "dist/QuellmarStarter-$version-$preset.exe"
        [ -z "${STARTER_SIGN_PKCS12:-}" ] || sign "$stage/QuellmarStarter.exe"
        # Fixed names, order, modes and times; -X leaves out the owner and
        # the extra times.
        archive=$PWD/dist/QuellmarStarter-$version-$preset.zip
        (cd "$stage" && chmod 0644 "${staged_files[@]}" && touch -d "@$archive_time" "${staged_files[@]}" &&
            TZ=UTC zip -q -X "$archive" "${staged_files[@]}")
        sums+=("QuellmarStarter-$version-$preset.zip" "QuellmarStarter-$version-$preset.exe")
    done
    # Readable by all, to be published, whatever the umask.
    (cd dist && sha256sum "${sums[@]}" > SHA256SUMS && chmod 0644 "${sums[@]}" SHA256SUMS)
    printf 'dist/%s\n' "${sums[@]}" SHA256SUMS
}

verify() {  # DIR
    local dir=$1 preset archive name file status=0
    [ -z "$(git status --porcelain --untracked-files=no 2>/dev/null)" ] ||
        echo "Note: this checkout has local changes, and the rebuild has them too."
    for preset in "${presets[@]}"; do
        archive=$dir/QuellmarStarter-$version-$preset.zip
        [ -f "$archive" ] || { echo "$archive: missing" >&2; status=1; continue; }
        build "$preset"
        stage "$preset" "$tmp/$preset"
        if [ "$(unzip -Z1 "$archive" | paste -sd' ')" != "${staged_files[*]}" ]; then
            echo "$archive holds $(unzip -Z1 "$archive" | paste -sd' '), not ${staged_files[*]}" >&2; status=1
        fi
        for name in "${staged_files[@]}"; do
            file=$tmp/$preset.shipped
            unzip -p "$archive" "$name" > "$file" || true
            if [ "$name" = QuellmarStarter.exe ] && signed "$file"; then
                echo "$(basename "$archive"): $name is signed; compared without its signature"
                osslsigncode remove-signature -in "$file" -out "$file.unsigned" > /dev/null
                mv -f "$file.unsigned" "$file"
            fi
            compare "$tmp/$preset/$name" "$file" "$(basename "$archive"): $name" "the rebuild's" || status=1
        done
        # The unsigned program beside the archive, where there is one.
        file=$dir/QuellmarStarter-$version-$preset.exe
        [ ! -f "$file" ] || compare "$tmp/$preset/QuellmarStarter.exe" "$file" "$(basename "$file")" "the rebuild's" ||
            status=1
    done
    if [ "$status" = 0 ]; then echo "The release in $dir is what this checkout builds."; fi
    return $status
}

case "${1:-}" in
    "") scripts/setup.sh; release ;;
    --verify) [ $# -eq 2 ] || usage; scripts/setup.sh; verify "$2" ;;
    --sign) [ $# -ge 2 ] || usage; scripts/setup.sh; shift; sign "$@"; printf 'signed %s\n' "$@" ;;
    --compare) [ $# -eq 3 ] || usage; compare "$2" "$3" ;;
    *) usage ;;
esac
