#!/usr/bin/env bash
# Builds the Debian package in a clean build folder and leaves it in
# dist/kordo-pregame-editor_<version>_<arch>.deb, then unpacks it and runs the installed programs
# from there (tests/tools/installed-programs-run.sh). Installs what it needs.
#
# KORDO_PACKAGE_BUILD_DIR  build folder (default build-package), emptied first
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash scripts/install-deps.sh
build="${KORDO_PACKAGE_BUILD_DIR:-build-package}"
rm -rf "$build"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDO_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target kordo-pregame-editor kordo-db kordo_manpages
(cd "$build" && cpack -G DEB >/dev/null)

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
deb="$build/kordo-pregame-editor_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "package: $deb was not made" >&2; exit 1; }
mkdir -p dist
cp "$deb" dist/
deb="dist/$(basename "$deb")"

apt-get install --simulate "./$deb" >/dev/null # its Depends resolve on this system

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
desktop=("$work"/root/usr/share/applications/*.desktop)
KORDO_INSTALLED_ROOT="$work/root" bash tests/tools/installed-programs-run.sh "$PWD/$build" "$PWD" "$version" \
    "$(basename "${desktop[0]}" .desktop)"

echo "package: $deb ($(du -k "$deb" | cut -f1) KiB, made in $((SECONDS - started)) s)"
dpkg-deb --field "$deb" Depends | sed 's/^/Depends: /'
