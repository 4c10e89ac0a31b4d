#!/usr/bin/env bash
# Installs what is missing, builds Velkor in Release and opens a recording in the viewer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
if [ $# -ge 1 ]; then
    exec build/app/velkor "$1"
fi
exec build/app/velkor
