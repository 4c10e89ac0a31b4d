#!/usr/bin/env bash
# scripts/configure.sh on a build folder that another generator configured, one that another
# source tree configured, and one of its own: the first two are built afresh, the last is kept.
set -euo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
options=(-DVELKOR_BUILD_GUI=OFF -DVELKOR_BUILD_TESTS=OFF -DVELKOR_BUILD_BENCH=OFF)
fail() { echo "FAILED: $*" >&2; exit 1; }

# What a folder configured here by another generator holds.
mkdir -p "$work/b"
printf 'CMAKE_GENERATOR:INTERNAL=Unix Makefiles\nCMAKE_HOME_DIRECTORY:INTERNAL=%s\n' "$(pwd -P)" \
    >"$work/b/CMakeCache.txt"
touch "$work/b/Makefile"
scripts/configure.sh "$work/b" "${options[@]}" || fail "another generator's folder"
grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$work/b/CMakeCache.txt" || fail "not Ninja"
[ ! -e "$work/b/Makefile" ] || fail "the old folder was kept"

touch "$work/b/kept"
scripts/configure.sh "$work/b" "${options[@]}" || fail "its own folder"
[ -e "$work/b/kept" ] || fail "its own folder was built afresh"

sed -i 's|^CMAKE_HOME_DIRECTORY:INTERNAL=.*|CMAKE_HOME_DIRECTORY:INTERNAL=/another/tree|' \
    "$work/b/CMakeCache.txt"
scripts/configure.sh "$work/b" "${options[@]}" || fail "another tree's folder"
[ ! -e "$work/b/kept" ] || fail "another tree's folder was kept"
echo "ok"
