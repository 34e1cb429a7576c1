#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when they are missing.
set -euo pipefail

packages=(build-essential cmake ninja-build googletest libgtest-dev libgmock-dev libbenchmark-dev
          clang-14 libclang-rt-14-dev clang-format qt6-base-dev xvfb xauth strace)

missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${missing[@]}"
fi
