#!/usr/bin/env bash
# Installs what is missing, builds Velkor in Release and opens a recording in the viewer.
# Without an argument it opens a demo session, generated on first use into data/demo/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
# The viewer and the tools only; test.sh adds the tests and benchmarks to the same folder.
scripts/configure.sh build -DCMAKE_BUILD_TYPE=Release -DVELKOR_BUILD_GUI=ON \
    -DVELKOR_BUILD_TESTS=OFF -DVELKOR_BUILD_BENCH=OFF
cmake --build build -j "$(nproc)"

recording=${1:-}
if [ -z "$recording" ]; then
    recording=data/demo/demo.blb
    # A demo made by an older generator recorded the fish placed, not the live count: make it anew.
    if [ ! -f "$recording" ] || [ ! -f data/demo/demo.mse ] ||
        ! grep -qs '"recordedTotal"' data/demo/demo.truth.json; then
        echo "Generating the demo session into data/demo/ ..."
        mkdir -p data/demo
        build/tools/velkor-synth/velkor-synth --out data/demo/demo --seed 7 --minutes 4 \
            --channel 10:250:2 --channel 261:500:4 --counter-width 500 --tank "Demo tank 3" \
            --start "2026-05-14 09:30:00"
    fi
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display here, so the viewer cannot open. The counts of $recording:"
    build/tools/velkor-count/velkor-count "$recording" || true
    echo
    echo "To open the viewer, run ./run.sh${1:+ \"$1\"} on a desktop, or build/app/velkor \"$recording\"."
    exit 0
fi
exec build/app/velkor "$recording"
