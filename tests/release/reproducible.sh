#!/usr/bin/env bash
# Builds the program a second time from a copy of the working tree's tracked
# files (local changes included) at a longer path, later, in another time
# zone, locale and umask, and fails unless it is the same bytes as the
# program in build/PRESET, naming the first difference.
# Usage: tests/release/reproducible.sh [PRESET]   (default win64; after its build)
set -euo pipefail
cd "$(dirname "$0")/../.."
preset=${1:-win64}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
copy=$tmp/again$PWD  # longer than this checkout's path, whatever that is
other_locale=C.UTF-8; [ "$(locale charmap)" != UTF-8 ] || other_locale=C
mkdir -p "$copy"
git ls-files -z | tar --null -T - --ignore-failed-read -cf - | tar -xf - -C "$copy"
# UTC+14 written out, so that no time-zone data is needed.
(cd "$copy" && umask 077 && unset SOURCE_DATE_EPOCH && export TZ=LINT-14 LC_ALL=$other_locale &&
    cmake --preset "$preset" > /dev/null && cmake --build --preset "$preset" --target QuellmarStarter > /dev/null)
scripts/release.sh --compare "build/$preset/QuellmarStarter.exe" "$copy/build/$preset/QuellmarStarter.exe"
