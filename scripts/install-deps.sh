#!/usr/bin/env bash
# Installs the Debian packages Velkor needs, when any is missing:
#   scripts/install-deps.sh          what building and running need (run.sh)
#   scripts/install-deps.sh --test   and the test toolchain besides (test.sh): clang with its
#                                    sanitizer and fuzzer runtime, GoogleTest, Google Benchmark,
#                                    Xvfb with the window manager openbox, and a locale with a
#                                    decimal comma
set -euo pipefail

with_tests=false
case "${1:-}" in
    "") ;;
    --test) with_tests=true ;;
    *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
updated=false

# Installs those of the packages given that are not installed yet.
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    if ! $updated; then
        "${sudo_cmd[@]}" apt-get update -qq
        updated=true
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
        --no-install-recommends "${missing[@]}"
}

install_missing cmake ninja-build g++ zlib1g-dev libcli11-dev nlohmann-json3-dev \
    qt6-base-dev libgl-dev
$with_tests || exit 0

install_missing clang libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openbox locales

# The sanitizer and fuzzer runtime of the clang that is installed, whatever its version.
clang_major=$(clang -dumpversion | cut -d. -f1)
if apt-cache show "libclang-rt-$clang_major-dev" >/dev/null 2>&1; then
    install_missing "libclang-rt-$clang_major-dev"
else
    install_missing libclang-rt-dev
fi

# A locale whose decimal separator is "," lets the report tests prove they never depend on it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
fi
