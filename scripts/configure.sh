#!/usr/bin/env bash
# Configures a build folder for Ninja from the source tree it is run in:
#   scripts/configure.sh FOLDER [CMAKE OPTIONS...]     (FOLDER relative to the source tree)
# A folder that another generator or another source tree configured cannot be reconfigured in
# place, so it is emptied first and built afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
cache=$dir/CMakeCache.txt
if [ -f "$cache" ]; then
    generator=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$cache")
    home=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")
    if [ "$generator" != "Ninja" ] || [ "$(realpath -m "$home")" != "$(pwd -P)" ]; then
        echo "$dir was configured by ${generator:-an unknown generator} for $home: building it afresh"
        rm -rf "$dir"
    fi
fi
# ccache, where installed, makes rebuilds of other checkouts quick; nothing needs it.
launcher=()
command -v ccache >/dev/null &&
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
