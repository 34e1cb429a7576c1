#!/usr/bin/env bash
# Cross-compiles the database layer and its GoogleTest suite for 64-bit Windows with MinGW-w64
# (GoogleTest built from Debian's googletest sources by the same compiler) and runs the suite under
# Wine. Installs what it needs. Only the database layer is built: it is standard C++ plus the one
# platform file, which is what differs on Windows.
#
# KORDO_WINDOWS_BUILD_DIR  build folder (default build-windows); Wine's prefix is made inside it
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash scripts/install-deps.sh windows
build="${KORDO_WINDOWS_BUILD_DIR:-build-windows}"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DKORDO_DATABASE_ONLY=ON -DKORDO_GTEST_SOURCE_DIR=/usr/src/googletest "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target kordo_database_tests

# Debian's wine64 keeps its programs out of PATH. No display is needed for a console program; the
# .NET and HTML runtimes are switched off so that Wine never offers to install them.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init >/dev/null 2>&1
    "$wineserver" --wait
fi

log="$build/windows-tests.log"
status=0
timeout 900 "$wine" "$build/bin/kordo_database_tests.exe" >"$log" 2>&1 || status=$? # never hangs CI
"$wineserver" --wait
passed="$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\./\1/p' "$log")"
skipped="$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below:/\1/p' "$log")"
if [ "$status" -ne 0 ]; then
    grep -E '^\[  (FAILED|SKIPPED) \]|Failure|error' "$log" >&2 || tail -n 40 "$log" >&2
    echo "windows: the database suite FAILED under Wine (exit $status); log $log" >&2
    exit 1
fi
grep -E '^\[  SKIPPED \] [A-Za-z_]+\.[A-Za-z_0-9/]+$' "$log" || true
echo "windows: ${passed:-0} tests passed, ${skipped:-0} skipped under Wine ($((SECONDS - started)) s)"
