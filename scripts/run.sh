#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor on a demo database (20000 generated people,
# made once in the user's data folder). Without a display, the editor renders its window to PNG files
# in build/screenshots instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/kordo-pregame-editor --demo
fi
echo "No display found: rendering the editor to build/screenshots instead."
QT_QPA_PLATFORM=offscreen build/bin/kordo-pregame-editor --demo --screenshot build/screenshots
ls build/screenshots
