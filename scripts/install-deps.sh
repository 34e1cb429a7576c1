#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when they are missing.
#   install-deps.sh           the Linux build, its tests and the Debian package
#   install-deps.sh windows   the Windows cross build of the database layer and Wine to run its tests
set -euo pipefail

packages=(build-essential cmake ninja-build googletest libgtest-dev libgmock-dev libbenchmark-dev
          clang-14 libclang-rt-14-dev clang-format qt6-base-dev xvfb xauth
          help2man desktop-file-utils appstream dpkg-dev file strace)
options=()
if [ "${1:-}" = windows ]; then
    packages=(cmake ninja-build googletest g++-mingw-w64-x86-64-posix wine64)
    options=(--no-install-recommends) # wine64 alone runs console programs
fi

missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${options[@]}" "${missing[@]}"
fi
