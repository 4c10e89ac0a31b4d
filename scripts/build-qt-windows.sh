#!/usr/bin/env bash
# Builds Qt 6 for Windows (x86-64, MinGW-w64 with POSIX threads) from Debian's own qtbase source
# package, the same version as the host tools (moc, rcc, uic) installed for the Linux build, so the
# cross build uses those. Only what the window needs: Core, Gui, Widgets, PrintSupport and Test
# (for the window's test suite), as shared libraries (DLLs) with MinGW's runtime linked into each,
# Release, no examples or tests, the bundled zlib, libpng, PCRE2, HarfBuzz and double-conversion.
#
#   scripts/build-qt-windows.sh [CACHE_ROOT]     default: ${VELKOR_QT_WINDOWS_CACHE:-~/.cache/velkor}
#   scripts/build-qt-windows.sh --where [CACHE_ROOT]   prints the folder if it is complete, else
#                                                      fails: builds nothing, installs nothing
#
# It installs into CACHE_ROOT/qt-windows-VERSION-HASH (HASH: of this script's options) and prints
# that folder as its last line. A complete folder (it holds .complete) is used as it is: the
# script then does nothing. Measured on a 2-core machine: source 1 min, configure 1 min, build
# about 45 to 60 min (longer while other builds run), install under 1 min; 105 MB installed.
set -euo pipefail
cd "$(dirname "$0")/.."
where_only=false
if [ "${1:-}" = --where ]; then
    where_only=true
    shift
fi
cache_root=${1:-${VELKOR_QT_WINDOWS_CACHE:-$HOME/.cache/velkor}}

step_start=$SECONDS
step() {
    local now=$SECONDS
    [ -n "${step_name:-}" ] && printf '   %s: %d s\n' "$step_name" $((now - step_start))
    step_name=$1
    step_start=$now
    [ -n "$1" ] && echo "== $1"
    return 0
}

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

if $where_only; then
    version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null) || exit 1
    for folder in "$cache_root"/qt-windows-"${version%%[+-]*}"-*; do
        [ -f "$folder/.complete" ] && [ "$(cat "$folder/.complete")" = "$version" ] &&
            { echo "$folder"; exit 0; }
    done
    exit 1
fi

# The Linux Qt whose host tools the cross build uses, and its version.
packages=(qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" </dev/null
fi
source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
qt_version=${source_version%%+*}
qt_version=${qt_version%%-*}

options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    # Debian's source leaves out the tablet (wintab) sources.
    -DFEATURE_tabletevent=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF
    -DFEATURE_opengl_desktop=OFF -DFEATURE_opengles2=OFF -DFEATURE_concurrent=ON -DFEATURE_xml=OFF -DFEATURE_printsupport=ON
    -DFEATURE_testlib=ON -DFEATURE_widgets=ON -DFEATURE_gui=ON
    -DFEATURE_sql_sqlite=OFF -DFEATURE_openssl=OFF
)
hash=$(printf '%s\n' "$source_version" "${options[@]}" static-runtime-link no-gl | sha256sum | cut -c1-12)
prefix=$cache_root/qt-windows-$qt_version-$hash
if [ -f "$prefix/.complete" ]; then
    echo "Qt $qt_version for Windows is there already:"
    echo "$prefix"
    exit 0
fi

# The build folder, kept until the install is complete: a build that stopped goes on from where
# it was (VELKOR_QT_WINDOWS_WORK names another one).
work=${VELKOR_QT_WINDOWS_WORK:-$cache_root/qt-windows-work-$qt_version-$hash}
mkdir -p "$work"
trap 'step ""' EXIT

step "qtbase $source_version source (apt-get source)"
if [ ! -f "$work/source/CMakeLists.txt" ]; then
    # The source package comes from the same Debian suites as the binary ones.
    if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        list=/etc/apt/sources.list.d/debian.sources
        if [ -f "$list" ]; then
            sed 's/^Types: deb$/Types: deb-src/' "$list" \
                | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/velkor-deb-src.sources >/dev/null
        else
            grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
                | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/velkor-deb-src.list >/dev/null
        fi
        "${sudo_cmd[@]}" apt-get update -qq
    fi
    rm -rf "$work/get" "$work/source"
    mkdir -p "$work/get"
    (cd "$work/get" && apt-get source -qq --download-only "qt6-base=$source_version" >/dev/null &&
        dpkg-source --no-check -x ./*.dsc source >/dev/null)
    mv "$work/get/source" "$work/source"
    rm -rf "$work/get"
fi

step "configure"
# The project's toolchain, without the project's prefixes.
cat >"$work/toolchain.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# MinGW's runtime (libgcc, libstdc++, winpthread) linked into every DLL and program.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
EOF
cmake -S "$work/source" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$work/configure.log" 2>&1 ||
    { tail -40 "$work/configure.log"; exit 1; }

step "build"
cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 ||
    { tail -40 "$work/build.log"; exit 1; }

step "install"
cmake --install "$work/build" >"$work/install.log" 2>&1 || { tail -40 "$work/install.log"; exit 1; }
# Where the source comes from and under which licences, for those who ship the DLLs.
mkdir -p "$prefix/licenses"
cp "$work/source/LICENSES/"*.txt "$prefix/licenses/" 2>/dev/null || true
cp "$work/source/debian/copyright" "$prefix/licenses/debian-copyright" 2>/dev/null || true
echo "Debian source package qt6-base $source_version, unchanged" >"$prefix/licenses/SOURCE"
echo "$source_version" >"$prefix/.complete"
step ""
rm -rf "$work"
echo "$prefix"
