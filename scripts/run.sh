#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: a demo database is generated and shown.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

demo="${KORDO_DEMO_DIR:-build/demo/data}"
if [ ! -f "$demo/server_db.dat" ] || [ ! -f "$demo/people_db.dat" ]; then
    build/bin/kordo-db generate "$demo" --people 20000
fi
build/bin/kordo-db info "$demo"
