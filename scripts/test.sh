#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build and once more with
# AddressSanitizer and UndefinedBehaviorSanitizer, after a bounded run of the fuzz targets, and the
# database suite once more built for Windows, under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs="$(nproc)"

# The normal build is the Release build a packager makes, here with warnings as errors.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDO_WARNINGS_AS_ERRORS=ON
cmake --build build -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORDO_SANITIZE=ON -DKORDO_WARNINGS_AS_ERRORS=ON
cmake --build build-asan -j "$jobs"

# The fuzz targets, about a minute each, before the suites so that the last line stays ctest's.
bash scripts/fuzz.sh

ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The database layer and its suite built for Windows and run under Wine.
bash scripts/test-windows.sh

ctest --test-dir build --output-on-failure -j "$jobs"
