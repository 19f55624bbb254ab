#!/usr/bin/env bash
# Installs what building, running and testing the starter needs on a Debian
# machine, and only what is missing: the mingw-w64 compilers, CMake and
# Ninja, GoogleTest, Wine (with its 32-bit half), Xvfb and xdotool,
# clang's runtime for the fuzzers, and zip, unzip, osslsigncode and openssl for
# the release, its check and its signature.
set -euo pipefail

packages=(
    cmake ninja-build g++ googletest libgtest-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine wine64 wine32:i386
    xvfb xauth xdotool x11-utils imagemagick
    clang-14 libclang-rt-14-dev
    zip unzip osslsigncode openssl
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
