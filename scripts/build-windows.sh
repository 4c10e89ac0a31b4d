#!/usr/bin/env bash
# Cross-builds the Windows programs velkor-count.exe and velkor-synth.exe (statically linked) and
# their test suites with MinGW-w64, in BUILD_DIR (default build-windows/); and, where a Qt for
# Windows has been built (scripts/build-qt-windows.sh), the window velkor.exe with its tests too,
# and its folder ready to ship in BUILD_DIR/velkor (velkor.exe, the Qt DLLs and plugins).
# The tests run under Wine:
#   ctest --test-dir BUILD_DIR
# A second argument, the folder of a Linux build (e.g. build), adds the test that compares the
# Windows programs' output byte for byte with that build's.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath -m "${1:-build-windows}")
linux_build=${2:+$(realpath "$2")}

packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 cmake ninja-build
          googletest libcli11-dev nlohmann-json3-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" </dev/null
fi

toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
prefix=$build_dir/prefix
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# Header-only libraries in a prefix of their own: their Debian CMake files would otherwise add
# /usr/include, and with it the Linux C library's headers, to the Windows build.
for pkg in CLI11 nlohmann_json; do
    mkdir -p "$prefix/share/cmake/$pkg"
    cp -u /usr/share/cmake/$pkg/*.cmake "$prefix/share/cmake/$pkg/"
done
mkdir -p "$prefix/include"
cp -ru /usr/include/CLI /usr/include/nlohmann "$prefix/include/"

# GoogleTest from Debian's source package, built once with the cross compiler.
if [ ! -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
    echo "== GoogleTest for Windows"
    cmake -S /usr/src/googletest -B "$build_dir/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVELKOR_WINDOWS_PREFIX="$prefix" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF "${launcher[@]}" >/dev/null
    cmake --build "$build_dir/googletest" -j "$(nproc)" >/dev/null
    cmake --install "$build_dir/googletest" >/dev/null
fi

# The build lists each test program's tests by running it under Wine.
scripts/wine-server.sh start "$build_dir"
trap 'scripts/wine-server.sh stop "$build_dir"' EXIT

window=(-DVELKOR_BUILD_GUI=OFF)
prefixes=$prefix
if qt_prefix=$(scripts/build-qt-windows.sh --where); then
    echo "== Windows build, with the window (Qt for Windows in $qt_prefix)"
    window=(-DVELKOR_BUILD_GUI=ON -DQT_HOST_PATH=/usr
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
    prefixes="$prefix;$qt_prefix"
else
    echo "== Windows build, without the window (no Qt for Windows: scripts/build-qt-windows.sh builds it)"
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVELKOR_WINDOWS_PREFIX="$prefixes" \
    "${window[@]}" -DVELKOR_BUILD_BENCH=OFF -DVELKOR_BUILD_FUZZ=OFF \
    ${linux_build:+-DVELKOR_LINUX_BUILD="$linux_build"} "${launcher[@]}" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
