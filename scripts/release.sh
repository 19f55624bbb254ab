#!/usr/bin/env bash
# Makes the release archives dist/QuellmarStarter-<version>-win32.zip and
# -win64.zip: the program, the user's README and the licence.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

version=$(sed -n 's/^project(QuellmarStarter VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p dist
for preset in win32 win64; do
    cmake --preset "$preset" > /dev/null
    cmake --build --preset "$preset" --target QuellmarStarter
    stage=$(mktemp -d)
    cp "build/$preset/QuellmarStarter.exe" "$stage/"
    sed 's/$/\r/' release/README.txt > "$stage/README.txt"
    sed 's/$/\r/' LICENSE > "$stage/LICENSE.txt"
    archive="$PWD/dist/QuellmarStarter-$version-$preset.zip"
    rm -f "$archive"
    (cd "$stage" && zip -q -X "$archive" QuellmarStarter.exe README.txt LICENSE.txt)
    rm -rf "$stage"
    echo "$archive"
done
