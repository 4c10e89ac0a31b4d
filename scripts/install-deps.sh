#!/usr/bin/env bash
# Installs the Debian packages Velkor needs to build, test and run, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang locales libclang-rt-14-dev zlib1g-dev libgtest-dev libgmock-dev
          libbenchmark-dev libcli11-dev nlohmann-json3-dev qt6-base-dev qt6-charts-dev
          libgl-dev xvfb xauth)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

# A locale whose decimal separator is "," lets the report tests prove they never depend on it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    if command -v localedef >/dev/null; then
        sudo_cmd=()
        [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
        "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
    fi
fi
