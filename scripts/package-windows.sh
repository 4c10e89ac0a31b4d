#!/usr/bin/env bash
# Makes what Windows users download, from a Windows build with the window (scripts/build-windows.sh
# after scripts/build-qt-windows.sh):
#   velkor-VERSION-windows-x64.zip   the three programs, the Qt DLLs and plugins velkor.exe loads,
#                                    README and the licence texts: unpack anywhere and run
#   velkor-VERSION-setup.exe         the same as an installer (NSIS): Program Files\Velkor or the
#                                    user's own Programs folder, Start menu, .blb/.blc opened by
#                                    velkor.exe on a double-click, an uninstaller
#   scripts/package-windows.sh [BUILD_DIR [OUT_DIR]]     defaults: build-windows, BUILD_DIR/package
# Takes about a minute (most of it the installer's compression).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath -m "${1:-build-windows}")
out_dir=$(realpath -m "${2:-$build_dir/package}")
version=$(sed -n 's/^project(Velkor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
exe=$build_dir/app/velkor.exe
if [ ! -f "$exe" ]; then
    echo "$0: $exe is not there: build it with scripts/build-qt-windows.sh, then scripts/build-windows.sh" >&2
    exit 1
fi
qt=$(scripts/build-qt-windows.sh --where) || {
    echo "$0: no Qt for Windows: scripts/build-qt-windows.sh builds it" >&2
    exit 1
}
missing=()
for p in nsis binutils-mingw-w64-x86-64; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" </dev/null
fi

name=velkor-$version-windows-x64
stage=$out_dir/$name
rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/licenses"
strip_() { x86_64-w64-mingw32-strip --strip-unneeded "$1"; }
cp "$exe" "$build_dir/tools/velkor-count/velkor-count.exe" \
    "$build_dir/tools/velkor-synth/velkor-synth.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/"qwindowsvistastyle*.dll "$stage/styles/" 2>/dev/null || true

# The Qt DLLs that the programs and plugins import, and those that these import in turn.
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
queue=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
while ((${#queue[@]})); do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    for dll in $(imports "$file"); do
        if [ -f "$qt/bin/$dll" ] && [ ! -f "$stage/$dll" ]; then
            cp "$qt/bin/$dll" "$stage/"
            queue+=("$stage/$dll")
        fi
    done
done
for f in "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll; do strip_ "$f"; done

# Nothing but Windows' own DLLs and the ones shipped here may be needed.
for f in "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll; do
    for dll in $(imports "$f"); do
        [ -f "$stage/$dll" ] && continue
        case ${dll,,} in
        api-ms-win-* | kernel32.dll | user32.dll | gdi32.dll | shell32.dll | ole32.dll | \
            oleaut32.dll | advapi32.dll | comdlg32.dll | winspool.drv | ws2_32.dll | \
            msvcrt.dll | version.dll | winmm.dll | uxtheme.dll | dwmapi.dll | imm32.dll | \
            shlwapi.dll | setupapi.dll | netapi32.dll | userenv.dll | wtsapi32.dll | \
            mpr.dll | d3d9.dll | d3d11.dll | d3d12.dll | dxgi.dll | dwrite.dll | d2d1.dll | \
            comctl32.dll | authz.dll | ntdll.dll | bcrypt.dll | crypt32.dll | secur32.dll | \
            iphlpapi.dll | dnsapi.dll | opengl32.dll | cfgmgr32.dll | shcore.dll) ;;
        *)
            echo "$0: $(basename "$f") needs $dll, which is neither shipped nor part of Windows" >&2
            exit 1
            ;;
        esac
    done
done

cp README.md "$stage/README.md"
cp "$qt/licenses/"* "$stage/licenses/" 2>/dev/null || true
cat >"$stage/licenses/README.txt" <<TEXT
Velkor $version for Windows ships with these libraries:

- Qt $(basename "$qt" | cut -d- -f3) (Qt6*.dll, platforms\\, styles\\), under the GNU Lesser General
  Public License version 3 (LGPL-3.0-only.txt here; Qt's other licence texts beside it). It is
  Debian's qtbase source package, unchanged ($(cat "$qt/licenses/SOURCE" 2>/dev/null)), built
  for Windows by Velkor's scripts/build-qt-windows.sh. The DLLs are ordinary shared libraries:
  you may replace them with your own build of the same Qt version.
- zlib, linked into the programs, under the zlib licence (zlib.txt).
- The GCC runtime libraries and MinGW-w64's winpthreads, linked into the programs and the DLLs,
  under the GCC Runtime Library Exception and the MIT licence (mingw-w64.txt).
TEXT
sed -n '/^License: Zlib/,/^$/p;/^Files: \*$/,/^$/p' /usr/share/doc/libz-mingw-w64-dev/copyright \
    >"$stage/licenses/zlib.txt" 2>/dev/null || true
[ -s "$stage/licenses/zlib.txt" ] || cp /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/licenses/zlib.txt"
cat /usr/share/doc/mingw-w64-common/copyright >"$stage/licenses/mingw-w64.txt" 2>/dev/null ||
    cat /usr/share/doc/gcc-mingw-w64-base/copyright >"$stage/licenses/mingw-w64.txt" 2>/dev/null || true

# The zip, with the folder at its top.
rm -f "$out_dir/$name.zip"
(cd "$out_dir" && cmake -E tar cf "$name.zip" --format=zip "$name")

# The installer, with the list of what it installs for its uninstaller.
files=$out_dir/$name.files.nsh
{
    (cd "$stage" && find . -type f | sort) | sed 's|^\./||; s|/|\\|g; s|^|  Delete "$INSTDIR\\|; s|$|"|'
    (cd "$stage" && find . -mindepth 1 -type d | sort -r) | sed 's|^\./||; s|/|\\|g; s|^|  RMDir "$INSTDIR\\|; s|$|"|'
} >"$files"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out_dir/velkor-$version-setup.exe" \
    packaging/windows/velkor.nsi
ls -l "$out_dir/$name.zip" "$out_dir/velkor-$version-setup.exe" | awk '{print $5, $9}'
